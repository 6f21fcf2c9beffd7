#pragma once

#include "TelnetReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ornis {

// The program's side of Telnet with the COM-PORT-OPTION (RFC 2217): asks for 8-bit data
// both ways and for serial port control, sets the line the server drives to 2400 baud
// 8N1 without flow control, RTS on and DTR as asked, and checks what the server confirms.
// Bytes only: the connection belongs to the adapter. Commands never reach the data; data
// that comes before the line is set (a server's banner) is not data: its first bytes are
// kept apart, for the message should the server then close the connection.
class ComPortClient final : public telnet::Endpoint
{
public:
    enum class State { Negotiating, Ready, Refused };

    explicit ComPortClient(bool dtr);

    // The requests that open the session; then receive() takes what the server sends.
    void open(std::vector<uint8_t> &out);

    [[nodiscard]] State state() const { return state_; }
    // Why the server cannot carry the line, once Refused.
    [[nodiscard]] const std::string &refusal() const { return refusal_; }
    // The first BannerBytes of data that came before the line was set.
    [[nodiscard]] const std::string &banner() const { return banner_; }
    static constexpr std::size_t BannerBytes = 64;

    void setDtr(bool on, std::vector<uint8_t> &out);
    // PURGE-DATA with `buffers` (telnet::comport::PurgeReceived...), once control is agreed.
    void purge(uint8_t buffers, std::vector<uint8_t> &out) const;

private:
    // Endpoint
    void dataByte(uint8_t byte) override;
    void option(uint8_t verb, uint8_t option) override;
    void comPortCommand(uint8_t command, const std::vector<uint8_t> &value) override;

    void negotiateBinary(uint8_t verb);
    void negotiateComPort(uint8_t verb);
    // An option both sides may switch on and off at will: agree, and answer only changes.
    void negotiateHarmless(uint8_t verb, uint8_t option, bool &ours, bool &theirs);
    void sendSettings();
    // The server's answer to one of the four framing settings: whether it took the value
    // asked for, and both values for the message when not.
    void confirmed(
        unsigned setting, bool asked, const std::string &kept, const std::string &wanted);
    void refuse(const std::string &why);

    State state_ = State::Negotiating;
    std::string refusal_;
    std::string banner_;
    bool dtr_;
    bool controlAgreed_ = false; // the server took COM-PORT-OPTION
    bool theirComPort_ = false;
    bool theirBinary_ = false;
    bool ourSuppressGoAhead_ = false;
    bool theirSuppressGoAhead_ = false;
    unsigned confirmedSettings_ = 0; // bit n: setting n (SET-BAUDRATE 1 .. SET-STOPSIZE 4)
};

} // namespace ornis
