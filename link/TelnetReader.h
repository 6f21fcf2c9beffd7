#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ornis::telnet {

// Splits the bytes of a Telnet connection into data and commands, across any cut between
// two reads. A subnegotiation longer than MaxSubnegotiation is dropped whole.
class TelnetReader
{
public:
    static constexpr std::size_t MaxSubnegotiation = 64;

    class Handler
    {
    public:
        // One data byte (a doubled 0xFF is one data byte 0xFF).
        virtual void data(uint8_t byte) = 0;
        // DO, DONT, WILL or WONT `option`.
        virtual void negotiation(uint8_t verb, uint8_t option) = 0;
        // The bytes between IAC SB and IAC SE, the option first, 0xFF undoubled.
        virtual void subnegotiation(const std::vector<uint8_t> &body) = 0;

    protected:
        ~Handler() = default;
    };

    void read(const uint8_t *bytes, std::size_t size, Handler &handler);

private:
    enum class State { Data, Command, Option, Subnegotiation, SubnegotiationCommand };

    void command(uint8_t byte, Handler &handler);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    std::vector<uint8_t> body_;
    bool overlong_ = false;
};

} // namespace ornis::telnet
