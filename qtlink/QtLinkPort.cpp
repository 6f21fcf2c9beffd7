#include "QtLinkPort.h"

#include "link/TransferEngine.h"

namespace ornis {

void connectPortToEngine(QtLinkPort &port, TransferEngine &engine, QObject *context)
{
    QObject *const receiver = context ? context : &port;
    QObject::connect(&port, &QtLinkPort::bytesArrived, receiver,
        [&engine](std::size_t count) { engine.bytesArrived(count); });
    QObject::connect(
        &port, &QtLinkPort::answerTimerFired, receiver, [&engine] { engine.timerFired(); });
    QObject::connect(&port, &QtLinkPort::portFailed, receiver,
        [&engine](const QString &message) { engine.portFailed(message.toStdString()); });
}

} // namespace ornis
