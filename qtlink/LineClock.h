#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

namespace ornis {

// The time a simulated line runs by: a steady clock in nanoseconds and one wake-up at a
// time on it. Injected, so that a test runs the line in a time of its own.
class LineClock : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    [[nodiscard]] virtual int64_t nowNs() const = 0;
    // woke() once the clock has reached `ns`, never before; replaces an earlier wake-up.
    virtual void wakeAt(int64_t ns) = 0;

signals:
    void woke();
};

// The machine's steady clock, and a precise timer of the event loop for the wake-up.
class SteadyLineClock final : public LineClock
{
    Q_OBJECT

public:
    explicit SteadyLineClock(QObject *parent = nullptr);

    [[nodiscard]] int64_t nowNs() const override { return clock_.nsecsElapsed(); }
    void wakeAt(int64_t ns) override;

private:
    QElapsedTimer clock_;
    QTimer timer_;
};

} // namespace ornis
