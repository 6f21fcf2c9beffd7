#include "TracingPort.h"

namespace ornis {

TracingPort::~TracingPort() = default;

void TracingPort::startTrace(
    std::unique_ptr<TraceSink> sink, const TransferEngine &engine, LineTrace::Clock clock)
{
    trace_.reset();
    trace_ = std::make_unique<LineTrace>(std::move(sink), *this, &engine, std::move(clock));
}

void TracingPort::stopTrace()
{
    trace_.reset();
}

Status TracingPort::sendByte(uint8_t byte)
{
    if (!trace_)
        return ForwardingPort::sendByte(byte);
    trace_->sent(byte);
    Status status = ForwardingPort::sendByte(byte);
    noteFailure("send failed", status);
    return status;
}

std::optional<uint8_t> TracingPort::readByte()
{
    const std::optional<uint8_t> byte = ForwardingPort::readByte();
    if (trace_ && byte)
        trace_->received(*byte);
    return byte;
}

Status TracingPort::flushInput()
{
    if (trace_ && bytesAvailable() > 0)
        trace_->note("input flushed: " + std::to_string(bytesAvailable()) + " bytes unread");
    Status status = ForwardingPort::flushInput();
    noteFailure("input flush failed", status);
    return status;
}

Status TracingPort::flushOutput()
{
    Status status = ForwardingPort::flushOutput();
    noteFailure("output flush failed", status);
    return status;
}

void TracingPort::relayBytesArrived(std::size_t count)
{
    ForwardingPort::relayBytesArrived(count);
    if (trace_)
        trace_->eventHandled();
}

void TracingPort::relayAnswerTimerFired()
{
    if (trace_)
        trace_->note("answer timer fired");
    ForwardingPort::relayAnswerTimerFired();
    if (trace_)
        trace_->eventHandled();
}

void TracingPort::relayPortFailed(const QString &message)
{
    if (trace_)
        trace_->note("port failed: " + message.toStdString());
    ForwardingPort::relayPortFailed(message);
    if (trace_)
        trace_->eventHandled();
}

void TracingPort::noteFailure(const char *what, const Status &status)
{
    if (trace_ && !status.ok())
        trace_->note(std::string(what) + ": " + status.message());
}

} // namespace ornis
