#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The Telnet codes a serial line over the network uses (RFC 854, RFC 856, RFC 2217), for
// both ends: the program's network adapter and the virtual exchange's server.

namespace ornis::telnet {

inline constexpr uint8_t IAC = 255; // interpret as command; doubled, a data byte 0xFF
inline constexpr uint8_t DONT = 254;
inline constexpr uint8_t DO = 253;
inline constexpr uint8_t WONT = 252;
inline constexpr uint8_t WILL = 251;
inline constexpr uint8_t SB = 250; // subnegotiation begins
inline constexpr uint8_t SE = 240; // subnegotiation ends

inline constexpr uint8_t OptionBinary = 0;
inline constexpr uint8_t OptionSuppressGoAhead = 3;
inline constexpr uint8_t OptionComPort = 44;

// COM-PORT-OPTION commands, as the client sends them; the server answers each with the
// command plus ServerReply.
namespace comport {
inline constexpr uint8_t Signature = 0;
inline constexpr uint8_t SetBaudRate = 1;
inline constexpr uint8_t SetDataSize = 2;
inline constexpr uint8_t SetParity = 3;
inline constexpr uint8_t SetStopSize = 4;
inline constexpr uint8_t SetControl = 5;
inline constexpr uint8_t PurgeData = 12;
inline constexpr uint8_t ServerReply = 100;

inline constexpr uint8_t ParityNone = 1;
inline constexpr uint8_t OneStopBit = 1;

// SET-CONTROL values.
inline constexpr uint8_t NoFlowControl = 1;
inline constexpr uint8_t SoftwareFlowControl = 2;
inline constexpr uint8_t HardwareFlowControl = 3;
inline constexpr uint8_t DtrOn = 8;
inline constexpr uint8_t DtrOff = 9;
inline constexpr uint8_t RtsOn = 11;
inline constexpr uint8_t RtsOff = 12;
inline constexpr uint8_t DcdFlowControl = 17;
inline constexpr uint8_t DsrFlowControl = 19;

// PURGE-DATA values: the server's buffer of bytes from the device (what the program
// would receive), of bytes to the device (what the program sent), or both.
inline constexpr uint8_t PurgeReceived = 1;
inline constexpr uint8_t PurgeToSend = 2;
inline constexpr uint8_t PurgeBoth = 3;

// "no parity", "even parity"...: a SET-PARITY value for a message.
inline std::string parityText(uint8_t parity)
{
    static const char *const names[]
        = {"no parity", "odd parity", "even parity", "mark parity", "space parity"};
    if (parity >= ParityNone && parity <= 5)
        return names[parity - ParityNone];
    return "parity " + std::to_string(parity);
}

// "1 stop bit", "1.5 stop bits"...: a SET-STOPSIZE value for a message.
inline std::string stopBitsText(uint8_t stopSize)
{
    switch (stopSize) {
    case OneStopBit:
        return "1 stop bit";
    case 2:
        return "2 stop bits";
    case 3:
        return "1.5 stop bits";
    default:
        return "stop size " + std::to_string(stopSize);
    }
}
} // namespace comport

// A data byte on its way out: 0xFF travels doubled.
inline void appendData(std::vector<uint8_t> &out, uint8_t byte)
{
    out.push_back(byte);
    if (byte == IAC)
        out.push_back(IAC);
}

inline void appendNegotiation(std::vector<uint8_t> &out, uint8_t verb, uint8_t option)
{
    out.insert(out.end(), {IAC, verb, option});
}

// IAC SB COM-PORT-OPTION command value... IAC SE, with 0xFF in the value doubled.
inline void appendComPortCommand(
    std::vector<uint8_t> &out, uint8_t command, const std::vector<uint8_t> &value)
{
    out.insert(out.end(), {IAC, SB, OptionComPort, command});
    for (const uint8_t byte : value)
        appendData(out, byte);
    out.insert(out.end(), {IAC, SE});
}

} // namespace ornis::telnet
