#pragma once

#include "ServedLine.h"
#include "config/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace ornis::sim {

// A pseudo-terminal in raw mode standing in for the serial line: the exchange works on the
// master, the program opens the slave (slavePath()). One slave descriptor is held open
// here, so that the master never sees a hang-up between two clients of the slave; closing
// the line closes both ends, and the client then sees a hang-up as if a cable was pulled.
class PtyLine final : public ServedLine
{
public:
    PtyLine() = default;
    ~PtyLine() override;
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    [[nodiscard]] Status open();
    void close();
    [[nodiscard]] bool isOpen() const { return master_ >= 0; }

    // The non-blocking master descriptor, for poll() or a socket notifier.
    [[nodiscard]] int masterFd() const { return master_; }
    // /dev/pts/N
    [[nodiscard]] const std::string &slavePath() const { return slavePath_; }

    // Up to `size` bytes the program sent; 0 when none waits, -1 when the line failed.
    [[nodiscard]] long read(uint8_t *data, std::size_t size);
    // Writes all of `data`; false when the line failed.
    [[nodiscard]] bool write(const uint8_t *data, std::size_t size);

    // ServedLine
    [[nodiscard]] int waitFd() const override { return master_; }
    [[nodiscard]] bool receive(std::vector<uint8_t> &data) override;
    [[nodiscard]] bool send(const uint8_t *data, std::size_t size) override
    {
        return write(data, size);
    }
    void cut() override { close(); }

private:
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
};

} // namespace ornis::sim
