#include "ComPortServer.h"

namespace ornis::sim {

using namespace telnet;

std::string describe(const ServedLineSettings &settings)
{
    std::string flow = "no flow control";
    if (settings.flowControl == comport::SoftwareFlowControl)
        flow = "XON/XOFF flow control";
    else if (settings.flowControl == comport::HardwareFlowControl)
        flow = "RTS/CTS flow control";
    return std::to_string(settings.baud) + " baud, " + std::to_string(settings.dataBits)
        + " data bits, " + comport::parityText(settings.parity) + ", "
        + comport::stopBitsText(settings.stopSize) + ", " + flow + ", DTR "
        + (settings.dtr ? "on" : "off") + ", RTS " + (settings.rts ? "on" : "off");
}

ComPortServer::ComPortServer(uint32_t fixedBaud)
    : fixedBaud_(fixedBaud)
{
    if (fixedBaud_ != 0)
        settings_.baud = fixedBaud_;
}

bool ComPortServer::takeChange()
{
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

void ComPortServer::option(uint8_t verb, uint8_t option)
{
    const bool on = verb == WILL || verb == DO;
    if (option == OptionBinary && (verb == WILL || verb == WONT))
        agree(on, programBinary_, DO, DONT, option);
    else if (option == OptionBinary)
        agree(on, ownBinary_, WILL, WONT, option);
    else if (option == OptionComPort && (verb == WILL || verb == WONT))
        agree(on, comPort_, DO, DONT, option);
    else if (verb == DO)
        answer(WONT, option);
    else if (verb == WILL)
        answer(DONT, option);
}

void ComPortServer::agree(bool on, bool &state, uint8_t yes, uint8_t no, uint8_t option)
{
    if (state == on)
        return;
    state = on;
    answer(on ? yes : no, option);
}

void ComPortServer::comPortCommand(uint8_t command, const std::vector<uint8_t> &bytes)
{
    if (!comPort_)
        return;
    const bool hasValue = !bytes.empty();
    const uint8_t value = hasValue ? bytes[0] : 0;
    switch (command) {
    case comport::Signature: {
        const std::string name = "ornisset-sim";
        reply(command, std::vector<uint8_t>(name.begin(), name.end()));
        break;
    }
    case comport::SetBaudRate:
        if (bytes.size() >= 4) {
            const uint32_t wanted = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16
                | uint32_t(bytes[2]) << 8 | bytes[3];
            // 0 asks for the rate in force.
            if (wanted != 0 && fixedBaud_ == 0 && wanted != settings_.baud) {
                settings_.baud = wanted;
                changed_ = true;
            }
            const uint32_t baud = settings_.baud;
            reply(command,
                {uint8_t(baud >> 24), uint8_t(baud >> 16), uint8_t(baud >> 8), uint8_t(baud)});
        }
        break;
    case comport::SetDataSize:
        setByte(command, settings_.dataBits, value, value >= 5 && value <= 8);
        break;
    case comport::SetParity:
        setByte(command, settings_.parity, value, value >= 1 && value <= 5);
        break;
    case comport::SetStopSize:
        setByte(command, settings_.stopSize, value, value >= 1 && value <= 3);
        break;
    case comport::SetControl:
        if (hasValue)
            control(value);
        break;
    case comport::PurgeData:
        if (hasValue)
            reply(command, {value});
        break;
    default:
        break;
    }
}

void ComPortServer::control(uint8_t value)
{
    // 0, 7 and 10 ask for the value in force; every request is answered with it.
    const auto set = [this](bool &line, bool on) {
        changed_ = changed_ || line != on;
        line = on;
    };
    uint8_t inForce = value; // what is not modelled is confirmed as asked
    if (value <= comport::HardwareFlowControl) {
        if (value != 0) {
            changed_ = changed_ || settings_.flowControl != value;
            settings_.flowControl = value;
        }
        inForce = settings_.flowControl;
    } else if (value >= 7 && value <= comport::DtrOff) {
        if (value != 7)
            set(settings_.dtr, value == comport::DtrOn);
        inForce = settings_.dtr ? comport::DtrOn : comport::DtrOff;
    } else if (value >= 10 && value <= comport::RtsOff) {
        if (value != 10)
            set(settings_.rts, value == comport::RtsOn);
        inForce = settings_.rts ? comport::RtsOn : comport::RtsOff;
    }
    reply(comport::SetControl, {inForce});
}

void ComPortServer::setByte(uint8_t command, uint8_t &setting, uint8_t wanted, bool valid)
{
    if (valid && setting != wanted) {
        setting = wanted;
        changed_ = true;
    }
    reply(command, {setting});
}

void ComPortServer::reply(uint8_t command, const std::vector<uint8_t> &value)
{
    answerComPort(uint8_t(comport::ServerReply + command), value);
}

} // namespace ornis::sim
