#include "ForwardingPort.h"

namespace ornis {

ForwardingPort::ForwardingPort(QObject *parent)
    : QtLinkPort(parent)
{
}

ForwardingPort::~ForwardingPort()
{
    disconnectInner();
}

void ForwardingPort::setInner(QtLinkPort *inner)
{
    if (inner == inner_)
        return;
    disconnectInner();
    inner_ = inner;
    if (!inner_)
        return;
    connections_.append(connect(inner_, &QtLinkPort::bytesArrived, this,
        [this](std::size_t count) { relayBytesArrived(count); }));
    connections_.append(
        connect(inner_, &QtLinkPort::answerTimerFired, this, [this] { relayAnswerTimerFired(); }));
    connections_.append(connect(inner_, &QtLinkPort::portFailed, this,
        [this](const QString &message) { relayPortFailed(message); }));
}

void ForwardingPort::disconnectInner()
{
    for (const QMetaObject::Connection &connection : std::as_const(connections_))
        disconnect(connection);
    connections_.clear();
}

Status ForwardingPort::sendByte(uint8_t byte)
{
    return inner_ ? inner_->sendByte(byte) : notOpenStatus({}, {});
}

std::optional<uint8_t> ForwardingPort::readByte()
{
    return inner_ ? inner_->readByte() : std::nullopt;
}

std::size_t ForwardingPort::bytesAvailable() const
{
    return inner_ ? inner_->bytesAvailable() : 0;
}

Status ForwardingPort::flushInput()
{
    return inner_ ? inner_->flushInput() : notOpenStatus({}, {});
}

Status ForwardingPort::flushOutput()
{
    return inner_ ? inner_->flushOutput() : notOpenStatus({}, {});
}

void ForwardingPort::startAnswerTimer(int ticks)
{
    if (inner_)
        inner_->startAnswerTimer(ticks);
}

void ForwardingPort::stopAnswerTimer()
{
    if (inner_)
        inner_->stopAnswerTimer();
}

std::string ForwardingPort::name() const
{
    return inner_ ? inner_->name() : std::string();
}

void ForwardingPort::relayBytesArrived(std::size_t count)
{
    emit bytesArrived(count);
}

void ForwardingPort::relayAnswerTimerFired()
{
    emit answerTimerFired();
}

void ForwardingPort::relayPortFailed(const QString &message)
{
    emit portFailed(message);
}

} // namespace ornis
