#include "ComPortClient.h"

#include "LinkPort.h"
#include "Telnet.h"

namespace ornis {

using namespace telnet;

namespace {

constexpr unsigned AllSettings = 0b11110; // SET-BAUDRATE .. SET-STOPSIZE

bool isFlowControl(uint8_t control)
{
    // Outbound or both-ways flow control by XON/XOFF, RTS/CTS, DCD or DSR.
    return control == comport::SoftwareFlowControl || control == comport::HardwareFlowControl
        || control == comport::DcdFlowControl || control == comport::DsrFlowControl;
}

} // namespace

ComPortClient::ComPortClient(bool dtr)
    : dtr_(dtr)
{
}

void ComPortClient::open(std::vector<uint8_t> &out)
{
    appendNegotiation(out, WILL, OptionBinary);
    appendNegotiation(out, DO, OptionBinary);
    appendNegotiation(out, WILL, OptionComPort);
}

void ComPortClient::setDtr(bool on, std::vector<uint8_t> &out)
{
    dtr_ = on;
    if (controlAgreed_)
        appendComPortCommand(out, comport::SetControl, {on ? comport::DtrOn : comport::DtrOff});
}

void ComPortClient::purge(uint8_t buffers, std::vector<uint8_t> &out) const
{
    if (controlAgreed_)
        appendComPortCommand(out, comport::PurgeData, {buffers});
}

void ComPortClient::dataByte(uint8_t byte)
{
    if (state_ == State::Ready)
        keep(byte);
    else if (banner_.size() < BannerBytes)
        banner_ += char(byte);
}

void ComPortClient::option(uint8_t verb, uint8_t option)
{
    switch (option) {
    case OptionBinary:
        negotiateBinary(verb);
        break;
    case OptionComPort:
        negotiateComPort(verb);
        break;
    case OptionSuppressGoAhead:
        negotiateHarmless(verb, option, ourSuppressGoAhead_, theirSuppressGoAhead_);
        break;
    default:
        // Nothing else has a place on a serial line (least of all ECHO: the exchange echoes).
        if (verb == DO)
            answer(WONT, option);
        else if (verb == WILL)
            answer(DONT, option);
        break;
    }
}

void ComPortClient::negotiateBinary(uint8_t verb)
{
    // Both directions were asked for at the opening, so a DO or a WILL is the answer.
    if (verb == DONT) {
        refuse("the server does not take 8-bit data (it refuses Telnet BINARY)");
    } else if (verb == WILL) {
        theirBinary_ = true;
    } else if (verb == WONT && theirBinary_) {
        theirBinary_ = false;
        answer(DONT, OptionBinary);
    }
    // A server that declines to announce BINARY for its own direction (ser2net does) still
    // passes the device's bytes unchanged, so its WONT alone is no reason to give up.
}

void ComPortClient::negotiateComPort(uint8_t verb)
{
    if (verb == DO && !controlAgreed_) {
        controlAgreed_ = true;
        sendSettings();
    } else if (verb == DONT) {
        refuse("the server offers no serial port control (RFC 2217); use tcp:// for a raw "
               "connection");
    } else if (verb == WILL && !theirComPort_) {
        theirComPort_ = true;
        answer(DO, OptionComPort);
    }
}

void ComPortClient::negotiateHarmless(uint8_t verb, uint8_t option, bool &ours, bool &theirs)
{
    if (verb == DO && !ours) {
        ours = true;
        answer(WILL, option);
    } else if (verb == DONT && ours) {
        ours = false;
        answer(WONT, option);
    } else if (verb == WILL && !theirs) {
        theirs = true;
        answer(DO, option);
    } else if (verb == WONT && theirs) {
        theirs = false;
        answer(DONT, option);
    }
}

void ComPortClient::sendSettings()
{
    const auto baud = uint32_t(LineBaud);
    answerComPort(comport::SetBaudRate,
        {uint8_t(baud >> 24), uint8_t(baud >> 16), uint8_t(baud >> 8), uint8_t(baud)});
    answerComPort(comport::SetDataSize, {8});
    answerComPort(comport::SetParity, {comport::ParityNone});
    answerComPort(comport::SetStopSize, {comport::OneStopBit});
    answerComPort(comport::SetControl, {comport::NoFlowControl});
    answerComPort(comport::SetControl, {dtr_ ? comport::DtrOn : comport::DtrOff});
    answerComPort(comport::SetControl, {comport::RtsOn});
}

void ComPortClient::comPortCommand(uint8_t command, const std::vector<uint8_t> &value)
{
    if (value.empty())
        return;
    const uint8_t first = value[0];
    switch (command) {
    case comport::ServerReply + comport::SetBaudRate:
        // Some servers add four more bytes; the first four are the rate.
        if (value.size() >= 4) {
            const uint32_t kept = uint32_t(value[0]) << 24 | uint32_t(value[1]) << 16
                | uint32_t(value[2]) << 8 | value[3];
            confirmed(comport::SetBaudRate, kept == uint32_t(LineBaud),
                std::to_string(kept) + " baud", std::to_string(LineBaud) + " baud");
        }
        break;
    case comport::ServerReply + comport::SetDataSize:
        confirmed(
            comport::SetDataSize, first == 8, std::to_string(first) + " data bits", "8 data bits");
        break;
    case comport::ServerReply + comport::SetParity:
        confirmed(comport::SetParity, first == comport::ParityNone, comport::parityText(first),
            comport::parityText(comport::ParityNone));
        break;
    case comport::ServerReply + comport::SetStopSize:
        confirmed(comport::SetStopSize, first == comport::OneStopBit, comport::stopBitsText(first),
            comport::stopBitsText(comport::OneStopBit));
        break;
    case comport::ServerReply + comport::SetControl:
        // The answers about DTR and RTS are not checked: servers answer them loosely.
        if (isFlowControl(first))
            refuse("the server refuses the line settings: it keeps flow control on");
        break;
    default:
        break;
    }
}

void ComPortClient::confirmed(
    unsigned setting, bool asked, const std::string &kept, const std::string &wanted)
{
    if (!asked) {
        refuse("the server refuses the line settings: it keeps " + kept + " instead of " + wanted);
        return;
    }
    confirmedSettings_ |= 1u << setting;
    if (state_ == State::Negotiating && confirmedSettings_ == AllSettings)
        state_ = State::Ready;
}

void ComPortClient::refuse(const std::string &why)
{
    if (state_ == State::Refused)
        return;
    state_ = State::Refused;
    refusal_ = why;
}

} // namespace ornis
