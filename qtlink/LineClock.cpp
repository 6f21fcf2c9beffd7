#include "LineClock.h"

#include <algorithm>

namespace ornis {

SteadyLineClock::SteadyLineClock(QObject *parent)
    : LineClock(parent)
{
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &LineClock::woke);
}

void SteadyLineClock::wakeAt(int64_t ns)
{
    const int64_t wait = ns - nowNs();
    // QTimer counts whole milliseconds: round up, so that the wake-up never comes early.
    timer_.start(int(std::max<int64_t>(0, (wait + 999'999) / 1'000'000)));
}

} // namespace ornis
