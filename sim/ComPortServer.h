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
class ComPortServer final : public telnet::Endpoint
{
public:
    // `fixedBaud`: the line stays at this rate whatever the program asks; 0 takes any.
    explicit ComPortServer(uint32_t fixedBaud = 0);

    [[nodiscard]] const ServedLineSettings &settings() const { return settings_; }
    // True once after the program changed a setting.
    [[nodiscard]] bool takeChange();

private:
    // Endpoint
    void dataByte(uint8_t byte) override { keep(byte); }
    void option(uint8_t verb, uint8_t option) override;
    void comPortCommand(uint8_t command, const std::vector<uint8_t> &value) override;

    void control(uint8_t value);
    // Stores `wanted` into `setting` when `valid`, and answers with what is in force.
    void setByte(uint8_t command, uint8_t &setting, uint8_t wanted, bool valid);
    void reply(uint8_t command, const std::vector<uint8_t> &value);
    // An option the program may switch on for one direction: agree, answer only changes.
    void agree(bool on, bool &state, uint8_t yes, uint8_t no, uint8_t option);

    uint32_t fixedBaud_;
    ServedLineSettings settings_;
    bool changed_ = false;
    bool programBinary_ = false;
    bool ownBinary_ = false;
    bool comPort_ = false;
};

} // namespace ornis::sim
