#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The far end of the line as the program knows it: a 4096-byte memory behind the
// lock-step byte protocol. Every control and address byte is echoed; 'A' takes the next
// two bytes as the address (low, then 0x80 | bits 8..11); 'W' takes the next byte as data,
// stores it at the current address and answers it; 'R' is answered with the byte at the
// current address. The address moves on after each written or read byte.
//
// It can misbehave on request, to test the program's handling of a faulty line.

namespace ornis::sim {

struct Faults
{
    // Answer nothing at all once this many bytes have been received.
    std::optional<std::size_t> silentAfter;
    // Answer every byte from this one on with `garbageByte` instead of the right answer.
    std::optional<std::size_t> garbageFrom;
    uint8_t garbageByte = 0x3F;
    // Put a stray byte before every answer, so that two bytes arrive together.
    bool doubleAnswers = false;
    uint8_t strayByte = 0x00;
    // A garbled line: the byte stored whatever is written at the address.
    std::map<uint16_t, uint8_t> noise;
};

class VirtualExchange
{
public:
    static constexpr std::size_t MemorySize = 4096;
    using Memory = std::array<uint8_t, MemorySize>;

    // What the exchange answers one byte with: nothing, the answer, or a stray byte and the
    // answer.
    struct Reply
    {
        std::array<uint8_t, 2> bytes {};
        std::size_t size = 0;

        [[nodiscard]] const uint8_t *data() const { return bytes.data(); }
        [[nodiscard]] bool empty() const { return size == 0; }
    };

    VirtualExchange() { memory_.fill(0); }

    // One byte from the program; returns what the exchange answers (normally one byte).
    Reply reply(uint8_t byte);
    // The same as a vector of bytes.
    std::vector<uint8_t> receive(uint8_t byte)
    {
        const Reply out = reply(byte);
        return {out.bytes.begin(), out.bytes.begin() + std::ptrdiff_t(out.size)};
    }

    [[nodiscard]] Memory &memory() { return memory_; }
    [[nodiscard]] const Memory &memory() const { return memory_; }
    [[nodiscard]] uint16_t address() const { return address_; }
    [[nodiscard]] std::size_t bytesReceived() const { return received_; }
    // In the middle of a command: an address or a data byte still to come.
    [[nodiscard]] bool midCommand() const { return expect_ != Expect::Command; }
    // What the program sent that no exchange makes sense of, one message each: an address
    // whose high byte is not 0x80..0x8F (another byte taken for part of an address).
    [[nodiscard]] const std::vector<std::string> &violations() const { return violations_; }

    void setFaults(const Faults &faults) { faults_ = faults; }
    [[nodiscard]] const Faults &faults() const { return faults_; }

private:
    enum class Expect { Command, AddressLow, AddressHigh, WriteData };

    uint8_t answer(uint8_t byte);

    Memory memory_ {};
    Expect expect_ = Expect::Command;
    uint8_t addressLow_ = 0;
    uint16_t address_ = 0;
    std::size_t received_ = 0;
    std::vector<std::string> violations_;
    Faults faults_;
};

} // namespace ornis::sim
