#pragma once

#include "Framing.h"

#include <cstdint>

namespace ornis {

// The exchange's reading of the bytes the program sent: 'A' takes the next two bytes as an
// address, 'W' the next one as its data byte; every other byte is a command of its own.
// The stop sequence follows it, so that it never breaks a command apart, never takes a
// stray byte for an answer and knows when a block has begun to close.
class SentCommand
{
public:
    void sent(uint8_t byte)
    {
        last_ = byte;
        if (operandsLeft_ > 0) {
            --operandsLeft_;
            role_ = command_ == Control::W ? Role::DataByte : Role::AddressByte;
            return;
        }
        role_ = Role::Command;
        command_ = byte;
        operandsLeft_ = byte == Control::A ? 2 : byte == Control::W ? 1 : 0;
        if (byte == Control::S)
            closing_ = false;
        else if (byte == Control::E)
            closing_ = true;
    }

    // The exchange waits for more bytes of the last command: the data byte of a 'W', the
    // rest of an address.
    [[nodiscard]] bool incomplete() const { return operandsLeft_ > 0; }
    // The block's closing has begun: an 'E' went out since its opening 'S'.
    [[nodiscard]] bool closing() const { return closing_; }
    // `byte` answers the last byte sent: the echo of a command or an address byte, any byte
    // for a data byte or an 'R'.
    [[nodiscard]] bool answeredBy(uint8_t byte) const
    {
        const bool anyAnswer
            = role_ == Role::DataByte || (role_ == Role::Command && last_ == Control::R);
        return anyAnswer || byte == last_;
    }

private:
    enum class Role : uint8_t { Command, AddressByte, DataByte };

    uint8_t last_ = 0;
    uint8_t command_ = 0;
    Role role_ = Role::Command;
    int operandsLeft_ = 0;
    bool closing_ = false;
};

} // namespace ornis
