#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace ornis {

class LinkPort;
class TransferEngine;

// Where a line trace goes.
class TraceSink
{
public:
    virtual ~TraceSink() = default;
    // A transfer starts; its lines follow.
    virtual void transferStarts() { }
    virtual void write(std::string_view text) = 0;
    virtual void flush() { }
};

// A record of every byte on the line, for support: one line a byte with the milliseconds
// since the transfer started, the direction (TX to the exchange, RX from it), the byte in
// hex, and the block and step the engine was at (the step while the engine's DataPhase is
// set). The lines gather in memory and go to the sink in large pieces: at the end of a
// transfer, on every failure and at least four times a second while bytes flow, so that
// the record costs the transfer nothing measurable.
class LineTrace
{
public:
    // Nanoseconds of a steady clock.
    using Clock = std::function<int64_t()>;

    // `port` names the line in the record; `engine` (may be null) tells block and step.
    LineTrace(std::unique_ptr<TraceSink> sink, const LinkPort &port, const TransferEngine *engine,
        Clock clock = {});
    ~LineTrace();
    LineTrace(const LineTrace &) = delete;
    LineTrace &operator=(const LineTrace &) = delete;

    void sent(uint8_t byte);
    void received(uint8_t byte);
    // An event on the line (timeout, failure, flush) in the time line; written out at once.
    void note(std::string_view text);
    // The engine has handled a notification of the port: a transfer that went idle ends.
    void eventHandled();
    void flush();

private:
    void byteLine(const char *direction, uint8_t byte);
    void startIfRunning();

    std::unique_ptr<TraceSink> sink_;
    const LinkPort &port_;
    const TransferEngine *engine_;
    Clock clock_;
    std::string buffer_;
    bool inTransfer_ = false;
    int64_t startNs_;
    int64_t lastFlushNs_;
};

} // namespace ornis
