#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ornis::sim {

// The program's end of a line that the virtual exchange serves from its own loop: a
// pseudo-terminal or a TCP connection. Never blocks on input.
class ServedLine
{
public:
    virtual ~ServedLine() = default;

    // The descriptor to wait on for what the program sends; it may change after receive().
    [[nodiscard]] virtual int waitFd() const = 0;
    // Takes what waits on the line; the program's data bytes are appended to `data`.
    // False when the line failed for good.
    [[nodiscard]] virtual bool receive(std::vector<uint8_t> &data) = 0;
    // Sends the exchange's answer; false when the line failed for good.
    [[nodiscard]] virtual bool send(const uint8_t *data, std::size_t size) = 0;
    // Ends the program's connection, as a pulled cable does.
    virtual void cut() = 0;
    // What the person running the exchange should hear about (the line settings the program
    // set), once; empty when nothing.
    [[nodiscard]] virtual std::string takeNews() { return {}; }
};

} // namespace ornis::sim
