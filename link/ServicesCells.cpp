#include "ServicesCells.h"

#include "Bcd.h"
#include "TransferState.h"
#include "config/ExchangeConfig.h"
#include "config/Numbering.h"
#include "config/TimeOfDay.h"

namespace ornis {

namespace {

constexpr uint8_t Set = 0xFF;
constexpr uint8_t Clear = 0x00;
constexpr uint8_t UnsetTimeByte = 0xFF;
// Beyond these the exchange holds no wake-up time; an hour of 24 is shown as 24:00.
constexpr uint16_t HourLimit = 25;
constexpr uint16_t MinuteLimit = 60;

bool within(int address, int first, int count)
{
    return address >= first && address < first + count;
}

// The call-back cell holds four bits: only "vyp" and the fifteen other extensions travel.
// A line 91..94 would arrive as "vyp" or as some extension, so it goes out as "vyp".
uint8_t backRingByte(int32_t backRing)
{
    return backRing >= 0 && backRing < 16 ? uint8_t(backRing) : 0;
}

uint8_t alarmByte(const Text &text, bool minuteCell)
{
    const auto time = parseTimeOfDay(text);
    if (!time)
        return UnsetTimeByte;
    return toBcd(minuteCell ? time->minute : time->hour);
}

// Bit i: the flag of line `line` of extension 8 * half + i.
uint8_t ringFromByte(const ExchangeConfig &config, int line, int half)
{
    uint8_t byte = 0;
    for (int i = 0; i < 8; ++i) {
        if (config.Services[size_t(8 * half + i)].RingFrom[size_t(line)])
            byte |= uint8_t(1u << i);
    }
    return byte;
}

// The first extension, in extension order, that holds parking position `position`.
uint8_t parkingByte(const ExchangeConfig &config, int position)
{
    for (int e = 0; e < ExtensionCount; ++e) {
        if (config.Services[size_t(e)].ParkTo[size_t(position)])
            return parkingCode(e);
    }
    return Clear;
}

void storeParking(
    ExchangeConfig &config, int position, uint8_t byte, const StoredRangeCallback &stored)
{
    for (int e = 0; e < ExtensionCount; ++e) {
        config.Services[size_t(e)].ParkTo[size_t(position)] = parkingCode(e) == byte;
        tellStored(stored, {Field::ParkTo, e, position});
    }
}

void storeAlarm(Text &text, TransferState &pending, bool minuteCell, uint8_t byte)
{
    if (!minuteCell) {
        pending.TimeHour = uint16_t(fromBcd(byte));
        return;
    }
    pending.TimeMinute = uint16_t(fromBcd(byte));
    if (pending.TimeHour >= HourLimit || pending.TimeMinute >= MinuteLimit)
        text = UnsetTime;
    else
        text = formatTimeOfDay(pending.TimeHour, pending.TimeMinute);
}

} // namespace

uint8_t parkingCode(int extension)
{
    return toBcd(extensionNumber(extension) - 20);
}

std::optional<uint8_t> servicesCellByte(const ExchangeConfig &config, int address)
{
    namespace A = ServicesAddress;
    if (within(address, A::GeneralRing, 2 * LineCount))
        return config.GeneralRing[size_t((address - A::GeneralRing) / 2)] ? Set : Clear;
    if (within(address, A::Redirect, ExtensionCount)) {
        const ExtensionServices &s = config.Services[size_t(address - A::Redirect)];
        return uint8_t((s.RedirectWhen & 3) * 16 + (s.Redirect & 15));
    }
    if (within(address, A::BackRing, ExtensionCount))
        return backRingByte(config.Services[size_t(address - A::BackRing)].BackRing);
    if (within(address, A::Reserved, 16))
        return Clear;
    if (within(address, A::AlarmOnce, 2 * ExtensionCount)) {
        const int offset = address - A::AlarmOnce;
        return alarmByte(config.Services[size_t(offset / 2)].AlarmOnce, offset % 2 == 1);
    }
    if (within(address, A::AlarmDaily, 2 * ExtensionCount)) {
        const int offset = address - A::AlarmDaily;
        return alarmByte(config.Services[size_t(offset / 2)].AlarmDaily, offset % 2 == 1);
    }
    if (within(address, A::RingFrom, 2 * LineCount)) {
        const int offset = address - A::RingFrom;
        return ringFromByte(config, offset / 2, offset % 2);
    }
    if (within(address, A::Parking, ParkingPositionCount))
        return parkingByte(config, address - A::Parking);
    if (address == A::BlockRedirect)
        return config.BlockRedirect ? Set : Clear;
    return std::nullopt;
}

bool storeServicesCell(ExchangeConfig &config, TransferState &pending, int address, uint8_t byte,
    const StoredRangeCallback &stored)
{
    namespace A = ServicesAddress;
    if (within(address, A::GeneralRing, 2 * LineCount)) {
        const int offset = address - A::GeneralRing;
        bool &flag = config.GeneralRing[size_t(offset / 2)];
        // Either cell of the pair sets the flag.
        flag = (offset % 2 == 1 && flag) || byte != 0;
        tellStored(stored, {Field::GeneralRing, offset / 2});
        return true;
    }
    if (within(address, A::Redirect, ExtensionCount)) {
        const int extension = address - A::Redirect;
        ExtensionServices &s = config.Services[size_t(extension)];
        s.Redirect = byte & 15;
        s.RedirectWhen = (byte / 16) & 3;
        tellStored(stored, {Field::Redirect, extension});
        tellStored(stored, {Field::RedirectWhen, extension});
        return true;
    }
    if (within(address, A::BackRing, ExtensionCount)) {
        config.Services[size_t(address - A::BackRing)].BackRing = byte & 15;
        tellStored(stored, {Field::BackRing, address - A::BackRing});
        return true;
    }
    if (within(address, A::AlarmOnce, 2 * ExtensionCount)) {
        const int offset = address - A::AlarmOnce;
        storeAlarm(config.Services[size_t(offset / 2)].AlarmOnce, pending, offset % 2 == 1, byte);
        if (offset % 2 == 1)
            tellStored(stored, {Field::AlarmOnce, offset / 2});
        return offset % 2 == 1;
    }
    if (within(address, A::AlarmDaily, 2 * ExtensionCount)) {
        const int offset = address - A::AlarmDaily;
        storeAlarm(config.Services[size_t(offset / 2)].AlarmDaily, pending, offset % 2 == 1, byte);
        if (offset % 2 == 1)
            tellStored(stored, {Field::AlarmDaily, offset / 2});
        return offset % 2 == 1;
    }
    if (within(address, A::RingFrom, 2 * LineCount)) {
        const int offset = address - A::RingFrom;
        for (int i = 0; i < 8; ++i) {
            const int extension = 8 * (offset % 2) + i;
            config.Services[size_t(extension)].RingFrom[size_t(offset / 2)] = (byte >> i) & 1;
            tellStored(stored, {Field::RingFrom, extension, offset / 2});
        }
        return true;
    }
    if (within(address, A::Parking, ParkingPositionCount)) {
        storeParking(config, address - A::Parking, byte, stored);
        return true;
    }
    if (address == A::BlockRedirect) {
        config.BlockRedirect = byte != 0;
        tellStored(stored, {Field::BlockRedirect});
        return true;
    }
    return false; // reserved cells, cells that are not services, addresses outside
}

} // namespace ornis
