#pragma once

#include "ForwardingPort.h"
#include "link/LineTrace.h"

#include <memory>

namespace ornis {

class TransferEngine;

// A port that records every byte passing through it into a line trace while tracing is on
// (see LineTrace), and otherwise only passes the calls on.
class TracingPort final : public ForwardingPort
{
    Q_OBJECT

public:
    using ForwardingPort::ForwardingPort;
    ~TracingPort() override;

    // Records into `sink` from now on; `engine` is the one using this port, for block and
    // step.
    void startTrace(std::unique_ptr<TraceSink> sink, const TransferEngine &engine,
        LineTrace::Clock clock = {});
    void stopTrace();
    [[nodiscard]] bool tracing() const { return trace_ != nullptr; }

    // LinkPort
    Status sendByte(uint8_t byte) override;
    std::optional<uint8_t> readByte() override;
    Status flushInput() override;
    Status flushOutput() override;

protected:
    void relayBytesArrived(std::size_t count) override;
    void relayAnswerTimerFired() override;
    void relayPortFailed(const QString &message) override;

private:
    void noteFailure(const char *what, const Status &status);

    std::unique_ptr<LineTrace> trace_;
};

} // namespace ornis
