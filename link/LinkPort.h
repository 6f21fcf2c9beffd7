#pragma once

#include "config/Status.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ornis {

// What the transfer engine needs of the line to the exchange, whatever carries it: the
// serial port, a TCP or RFC 2217 connection to a serial device server, the built-in demo
// exchange, the in-process virtual exchange and the tests' fakes all implement it.
//
// The owner delivers the line's two notifications to the engine on the engine's thread:
// TransferEngine::bytesArrived(count) whenever received bytes wait, and
// TransferEngine::timerFired() when the answer timer expires.
class LinkPort
{
public:
    virtual ~LinkPort() = default;

    // Queues one byte for sending at once; fails with the port's message when the port is
    // not open or the write fails.
    virtual Status sendByte(uint8_t byte) = 0;
    // The oldest received byte not yet read; nothing when none waits.
    virtual std::optional<uint8_t> readByte() = 0;
    [[nodiscard]] virtual std::size_t bytesAvailable() const = 0;
    // Discard received bytes not yet read / bytes not yet sent.
    virtual Status flushInput() = 0;
    virtual Status flushOutput() = 0;

    // The one answer timer: fires once, `ticks` x 55 ms after it was started; starting it
    // again restarts it; stopping a stopped timer does nothing.
    virtual void startAnswerTimer(int ticks) = 0;
    virtual void stopAnswerTimer() = 0;

    // The port's name as listed (ttyUSB0, COM3), used in "Timeout on <name>".
    [[nodiscard]] virtual std::string name() const = 0;
};

inline constexpr int TimerTickMs = 55;
// How long the exchange may take to answer a byte, unless the user chose otherwise.
inline constexpr int DefaultAnswerTimeoutMs = 4000;
// The line runs at 2400 baud, 8 data bits, no parity, 1 stop bit, without flow control.
inline constexpr int LineBaud = 2400;

} // namespace ornis
