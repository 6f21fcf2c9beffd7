#include "DialSlots.h"

#include "DigitCodec.h"
#include "config/ExchangeConfig.h"

namespace ornis {

namespace {

constexpr uint8_t ReservedByte = 0x00;

// The line byte sets the line and starts the number afresh; a digit byte adds to the number.
void tellSlotStored(
    const StoredRangeCallback &stored, Field line, Field number, int record, int position)
{
    if (position == 0)
        tellStored(stored, {line, record});
    tellStored(stored, {number, record});
}

static_assert(PEImageSize == PERecordCount * SlotSize);

constexpr bool slotsMatchRecords()
{
    for (int record = 0; record < ShortDialCount; ++record) {
        if (shortDialRecordOfSlot(shortDialSlotOfRecord(record)) != record)
            return false;
    }
    return true;
}
static_assert(slotsMatchRecords());

} // namespace

uint8_t slotByte(int32_t line, std::string_view number, int position)
{
    if (position == 0)
        return uint8_t(0xF0 | ((uint32_t(line) - 1u) & 0x0F)); // -1 (no entry) gives 0xFE
    const std::size_t first = std::size_t(2 * (position - 1));
    return uint8_t(DigitToNibble(NumberCharAt(number, first)) << 4
        | DigitToNibble(NumberCharAt(number, first + 1)));
}

void storeSlotByte(int32_t &line, std::string &number, int position, uint8_t byte)
{
    if (position == 0) {
        line = (byte + 1) & 0x0F;
        number.clear();
        return;
    }
    number += NibbleToText(byte >> 4);
    number += NibbleToText(byte & 0x0F);
}

std::optional<uint8_t> shortDialImageByte(const ExchangeConfig &config, int32_t k)
{
    if (k < 0 || k >= ShortDialImageSize)
        return std::nullopt;
    const auto record = shortDialRecordOfSlot(k / SlotSize);
    if (!record)
        return ReservedByte;
    const ShortDialRecord &r = config.ShortDialTable[size_t(*record)];
    return slotByte(r.Line, r.Number, k % SlotSize);
}

void storeShortDialImageByte(
    ExchangeConfig &config, int32_t k, uint8_t byte, const StoredRangeCallback &stored)
{
    if (k < 0 || k >= ShortDialImageSize)
        return;
    const auto record = shortDialRecordOfSlot(k / SlotSize);
    if (!record)
        return;
    ShortDialRecord &r = config.ShortDialTable[size_t(*record)];
    storeSlotByte(r.Line, r.Number, k % SlotSize, byte);
    tellSlotStored(stored, Field::ShortDialLine, Field::ShortDialNumber, *record, k % SlotSize);
}

std::optional<uint8_t> peImageByte(const ExchangeConfig &config, int32_t k)
{
    if (k < 0 || k >= PEImageSize)
        return std::nullopt;
    const PERecord &r = config.PETable[size_t(k / SlotSize)];
    return slotByte(r.Line, r.Number, k % SlotSize);
}

void storePEImageByte(
    ExchangeConfig &config, int32_t k, uint8_t byte, const StoredRangeCallback &stored)
{
    if (k < 0 || k >= PEImageSize)
        return;
    PERecord &r = config.PETable[size_t(k / SlotSize)];
    storeSlotByte(r.Line, r.Number, k % SlotSize, byte);
    tellSlotStored(stored, Field::PELine, Field::PENumber, k / SlotSize, k % SlotSize);
}

} // namespace ornis
