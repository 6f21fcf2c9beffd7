#include "FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace ornis {

FirstPaint::FirstPaint(QWidget &window)
    : QObject(&window)
{
    window.installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Paint && !reported_) {
        reported_ = true;
        // Once the paint is done.
        QTimer::singleShot(0, this, [] {
            const long long now = monotonicNanoseconds();
            rusage usage {};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("%lld %ld\n", now, usage.ru_maxrss);
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return false;
}

long long monotonicNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

} // namespace ornis
