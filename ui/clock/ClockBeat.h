#pragma once

#include <QObject>
#include <QTimer>

namespace ornis {

// The beat the clock button shows the time by, injected as the answer timer of a port is,
// so that a test beats it itself.
class ClockBeat : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // beat() every `intervalMs` from now on.
    virtual void start(int intervalMs) = 0;

signals:
    void beat();
};

// The beat of a timer of the event loop.
class TimerBeat final : public ClockBeat
{
    Q_OBJECT

public:
    explicit TimerBeat(QObject *parent = nullptr)
        : ClockBeat(parent)
    {
        connect(&timer_, &QTimer::timeout, this, &ClockBeat::beat);
    }

    void start(int intervalMs) override { timer_.start(intervalMs); }

private:
    QTimer timer_;
};

} // namespace ornis
