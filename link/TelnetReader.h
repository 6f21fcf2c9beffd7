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

// One end of a Telnet connection: reads what the other end sent, keeps its data bytes and
// answers its commands.
class Endpoint : private TelnetReader::Handler
{
public:
    // Bytes from the other end: its data bytes go to `data`, the answers to `out`.
    void receive(const uint8_t *bytes, std::size_t size, std::vector<uint8_t> &data,
        std::vector<uint8_t> &out);

protected:
    ~Endpoint() = default;

    // What the other end sent, as it is read.
    virtual void dataByte(uint8_t byte) = 0;
    virtual void option(uint8_t verb, uint8_t option) = 0;
    virtual void comPortCommand(uint8_t command, const std::vector<uint8_t> &value) = 0;

    // While receiving: keeps a data byte; answers.
    void keep(uint8_t byte) { data_->push_back(byte); }
    void answer(uint8_t verb, uint8_t option);
    void answerComPort(uint8_t command, const std::vector<uint8_t> &value);

private:
    // TelnetReader::Handler
    void data(uint8_t byte) override { dataByte(byte); }
    void negotiation(uint8_t verb, uint8_t option) override { this->option(verb, option); }
    void subnegotiation(const std::vector<uint8_t> &body) override;

    TelnetReader reader_;
    std::vector<uint8_t> *data_ = nullptr;
    std::vector<uint8_t> *out_ = nullptr;
};

} // namespace ornis::telnet
