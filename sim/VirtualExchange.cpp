#include "VirtualExchange.h"

#include <cstdio>

namespace ornis::sim {

VirtualExchange::Reply VirtualExchange::reply(uint8_t byte)
{
    const std::size_t index = received_++;
    const uint8_t right = answer(byte);
    Reply out;
    if (faults_.silentAfter && index >= *faults_.silentAfter)
        return out;
    if (faults_.doubleAnswers)
        out.bytes[out.size++] = faults_.strayByte;
    const bool garbage = faults_.garbageFrom && index >= *faults_.garbageFrom;
    out.bytes[out.size++] = garbage ? faults_.garbageByte : right;
    return out;
}

uint8_t VirtualExchange::answer(uint8_t byte)
{
    switch (expect_) {
    case Expect::AddressLow:
        addressLow_ = byte;
        expect_ = Expect::AddressHigh;
        return byte;
    case Expect::AddressHigh:
        if ((byte & 0xF0) != 0x80) {
            char message[64];
            std::snprintf(message, sizeof message, "0x%02X is no address high byte", byte);
            violations_.emplace_back(message);
        }
        address_ = uint16_t(addressLow_ | ((byte & 0x0F) << 8));
        expect_ = Expect::Command;
        return byte;
    case Expect::WriteData: {
        const auto garbled = faults_.noise.find(address_);
        memory_[address_] = garbled == faults_.noise.end() ? byte : garbled->second;
        address_ = uint16_t((address_ + 1) % MemorySize);
        expect_ = Expect::Command;
        return byte;
    }
    case Expect::Command:
        break;
    }
    switch (byte) {
    case 'A':
        expect_ = Expect::AddressLow;
        return byte;
    case 'W':
        expect_ = Expect::WriteData;
        return byte;
    case 'R': {
        const uint8_t data = memory_[address_];
        address_ = uint16_t((address_ + 1) % MemorySize);
        return data;
    }
    default:
        return byte; // 'S', 'T', 'E', 'X', 'D' and anything else are echoed
    }
}

} // namespace ornis::sim
