#include "TelnetReader.h"

#include "Telnet.h"

namespace ornis::telnet {

void TelnetReader::read(const uint8_t *bytes, std::size_t size, Handler &handler)
{
    for (std::size_t i = 0; i < size; ++i) {
        const uint8_t byte = bytes[i];
        switch (state_) {
        case State::Data:
            if (byte == IAC)
                state_ = State::Command;
            else
                handler.data(byte);
            break;
        case State::Command:
            command(byte, handler);
            break;
        case State::Option:
            state_ = State::Data;
            handler.negotiation(verb_, byte);
            break;
        case State::Subnegotiation:
            if (byte == IAC) {
                state_ = State::SubnegotiationCommand;
            } else if (body_.size() < MaxSubnegotiation) {
                body_.push_back(byte);
            } else {
                overlong_ = true;
            }
            break;
        case State::SubnegotiationCommand:
            if (byte == IAC) {
                state_ = State::Subnegotiation;
                if (body_.size() < MaxSubnegotiation)
                    body_.push_back(IAC);
                else
                    overlong_ = true;
            } else if (byte == SE) {
                state_ = State::Data;
                if (!overlong_ && !body_.empty())
                    handler.subnegotiation(body_);
            } else {
                // A subnegotiation cut short by another command: the command counts.
                command(byte, handler);
            }
            break;
        }
    }
}

void TelnetReader::command(uint8_t byte, Handler &handler)
{
    state_ = State::Data;
    if (byte == IAC) {
        handler.data(IAC);
    } else if (byte == DO || byte == DONT || byte == WILL || byte == WONT) {
        verb_ = byte;
        state_ = State::Option;
    } else if (byte == SB) {
        body_.clear();
        overlong_ = false;
        state_ = State::Subnegotiation;
    }
    // Anything else (NOP, GA, a stray SE...) carries nothing for a serial line.
}

void Endpoint::receive(
    const uint8_t *bytes, std::size_t size, std::vector<uint8_t> &data, std::vector<uint8_t> &out)
{
    data_ = &data;
    out_ = &out;
    reader_.read(bytes, size, *this);
    data_ = nullptr;
    out_ = nullptr;
}

void Endpoint::answer(uint8_t verb, uint8_t option)
{
    appendNegotiation(*out_, verb, option);
}

void Endpoint::answerComPort(uint8_t command, const std::vector<uint8_t> &value)
{
    appendComPortCommand(*out_, command, value);
}

void Endpoint::subnegotiation(const std::vector<uint8_t> &body)
{
    // Only the COM-PORT-OPTION is spoken here: option, command, value.
    if (body.size() >= 2 && body[0] == OptionComPort)
        comPortCommand(body[1], std::vector<uint8_t>(body.begin() + 2, body.end()));
}

} // namespace ornis::telnet
