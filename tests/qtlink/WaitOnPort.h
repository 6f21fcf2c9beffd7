#pragma once

#include "qtlink/QtLinkPort.h"

#include <QEventLoop>
#include <QTimer>

// Runs the event loop until `done` holds, checking after every notification of the port
// (once the engine connected before has handled it); false after `boundMs`.
template<typename Predicate>
bool waitOnPort(ornis::QtLinkPort &port, Predicate done, int boundMs = 60'000)
{
    if (done())
        return true;
    QEventLoop loop;
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    QObject context;
    QObject::connect(&port, &ornis::QtLinkPort::bytesArrived, &context, check);
    QObject::connect(&port, &ornis::QtLinkPort::answerTimerFired, &context, check);
    QObject::connect(&port, &ornis::QtLinkPort::portFailed, &context, check);
    QTimer::singleShot(boundMs, &context, [&loop] { loop.quit(); });
    loop.exec();
    return done();
}
