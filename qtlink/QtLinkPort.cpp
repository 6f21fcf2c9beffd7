#include "QtLinkPort.h"

#include "link/TransferEngine.h"

namespace ornis {

void QtLinkPort::announceFailureLater(const QString &message)
{
    const unsigned opening = ++openings_;
    QMetaObject::invokeMethod(
        this,
        [this, opening, message] {
            if (opening == openings_)
                emit portFailed(message);
        },
        Qt::QueuedConnection);
}

Status QtLinkPort::notOpenStatus(const QString &failure, const QString &name)
{
    if (!failure.isEmpty())
        return Status::failure(failure.toStdString());
    if (name.isEmpty())
        return Status::failure("No port is open");
    return Status::failure(
        (QStringLiteral("The port ") + name + QStringLiteral(" is not open")).toStdString());
}

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
