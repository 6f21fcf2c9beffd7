#pragma once

#include "link/Telnet.h"
#include "link/TelnetReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ornis::sim {

// The serial line behind a device server, as the program set it.
struct ServedLineSettings
{
    uint32_t baud = 9600;
    uint8_t dataBits = 8;
    uint8_t parity = telnet::comport::ParityNone;
    uint8_t stopSize = telnet::comport::OneStopBit;
    uint8_t flowControl = telnet::comport::NoFlowControl;
    bool dtr = true;
    bool rts = true;
};

// "2400 baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR off, RTS on"
[[nodiscard]] std::string describe(const ServedLineSettings &settings);

// What a serial device server does with Telnet and the COM-PORT-OPTION (RFC 2217): agrees
// to BINARY both ways and to COM-PORT-OPTION when asked, refuses every other option, takes
// the line settings and answers each with the value in force. Bytes only.
class ComPortServer final : private telnet::TelnetReader::Handler
{
public:
    // `fixedBaud`: the line stays at this rate whatever the program asks; 0 takes any.
    explicit ComPortServer(uint32_t fixedBaud = 0);

    // Bytes from the program: its data bytes go to `data`, the answers to `out`.
    void receive(const uint8_t *bytes, std::size_t size, std::vector<uint8_t> &data,
        std::vector<uint8_t> &out);

    [[nodiscard]] const ServedLineSettings &settings() const { return settings_; }
    // True once after the program changed a setting.
    [[nodiscard]] bool takeChange();

private:
    // TelnetReader::Handler
    void data(uint8_t byte) override;
    void negotiation(uint8_t verb, uint8_t option) override;
    void subnegotiation(const std::vector<uint8_t> &body) override;

    void control(uint8_t value);
    // Stores `wanted` into `setting` when `valid`, and answers with what is in force.
    void setByte(uint8_t command, uint8_t &setting, uint8_t wanted, bool valid);
    void answer(uint8_t command, const std::vector<uint8_t> &value);
    // An option the program may switch on for one direction: agree, answer only changes.
    void agree(bool on, bool &state, uint8_t yes, uint8_t no, uint8_t option);

    telnet::TelnetReader reader_;
    std::vector<uint8_t> *data_ = nullptr; // while receiving
    std::vector<uint8_t> *out_ = nullptr;
    uint32_t fixedBaud_;
    ServedLineSettings settings_;
    bool changed_ = false;
    bool programBinary_ = false;
    bool ownBinary_ = false;
    bool comPort_ = false;
};

} // namespace ornis::sim
