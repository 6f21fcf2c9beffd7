#include "AnswerTimer.h"

namespace ornis {

AnswerTimer::AnswerTimer(QObject *parent)
    : QObject(parent)
{
    clock_.start();
    timer_.setSingleShot(true);
    // Never early: an early wake-up would only register the timer once more.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &AnswerTimer::onTimeout);
}

void AnswerTimer::start(int milliseconds)
{
    const int64_t now = clock_.elapsed();
    deadlineMs_ = now + milliseconds;
    if (timer_.isActive() && wakeMs_ <= deadlineMs_)
        return;
    wakeMs_ = deadlineMs_;
    timer_.start(milliseconds);
}

void AnswerTimer::onTimeout()
{
    if (deadlineMs_ == Stopped)
        return;
    const int64_t now = clock_.elapsed();
    if (now < deadlineMs_) {
        wakeMs_ = deadlineMs_;
        timer_.start(int(deadlineMs_ - now));
        return;
    }
    deadlineMs_ = Stopped;
    emit fired();
}

} // namespace ornis
