#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>

namespace ornis {

// The answer timer of a port: fires once, the given time after it was last started. The
// engine restarts it after every byte, so a restart only moves a deadline; the event loop's
// timer is registered anew only when it would fire before the deadline or has run out, about
// once a timeout instead of twice a byte.
class AnswerTimer final : public QObject
{
    Q_OBJECT

public:
    explicit AnswerTimer(QObject *parent = nullptr);

    void start(int milliseconds);
    void stop() { deadlineMs_ = Stopped; }
    [[nodiscard]] bool isActive() const { return deadlineMs_ != Stopped; }

signals:
    void fired();

private:
    static constexpr int64_t Stopped = -1;

    void onTimeout();

    QElapsedTimer clock_;
    QTimer timer_; // fires at wakeMs_ while active, to see whether the deadline has come
    int64_t deadlineMs_ = Stopped; // on clock_
    int64_t wakeMs_ = 0; // on clock_
};

} // namespace ornis
