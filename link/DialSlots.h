#pragma once

#include "StoredRangeCallback.h"
#include "config/DialNumber.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The 8-byte slot that carries one dialling record (a short dial or a PE record) in the
// exchange, and which slot holds which record. Byte k of a block image is byte k mod 8 of
// slot k div 8.

namespace ornis {

struct ExchangeConfig;

inline constexpr int SlotSize = 8;
// The characters of a number a slot carries: two to each byte after the line byte.
inline constexpr int NumberLength = 2 * (SlotSize - 1);
static_assert(NumberLength == DialNumberLength, "a slot carries every dial number");
inline constexpr int ShortDialSlotCount = 106; // slots 80..95 are reserved
inline constexpr int ShortDialImageSize = ShortDialSlotCount * SlotSize; // 848
inline constexpr int PEImageSize = 100 * SlotSize; // 800

// The short dial record (0..89, short dial 810 + record) in slot `slot`; nothing for the
// reserved slots and outside 0..105. Within each ten the dial ending in 0 comes last, and
// 811..819, 810 come after the reserved slots.
[[nodiscard]] constexpr std::optional<int> shortDialRecordOfSlot(int slot)
{
    if (slot >= 0 && slot < 80)
        return 10 * (slot / 10 + 1) + (slot % 10 + 1) % 10;
    if (slot >= 96 && slot < ShortDialSlotCount)
        return (slot - 96 + 1) % 10;
    return std::nullopt;
}

// The slot of short dial record 0..89.
[[nodiscard]] constexpr int shortDialSlotOfRecord(int record)
{
    const int unitSlot = (record % 10 + 9) % 10; // 1..9 first, 0 last
    return record < 10 ? 96 + unitSlot : 10 * (record / 10 - 1) + unitSlot;
}

// Byte `position` (0..7) of the slot of a record: the line byte 0xF0 | ((line - 1) & 15),
// then seven bytes of two digit codes each, high nibble first.
[[nodiscard]] uint8_t slotByte(int32_t line, std::string_view number, int position);

// Stores byte `position` of a slot: the line byte sets the line and starts the number
// afresh; each digit byte appends the texts of its two codes.
void storeSlotByte(int32_t &line, std::string &number, int position, uint8_t byte);

// Byte k of the short-dial image, taken from the table now (0x00 in the reserved slots);
// nothing outside the image.
[[nodiscard]] std::optional<uint8_t> shortDialImageByte(const ExchangeConfig &config, int32_t k);
// Stores byte k of the short-dial image and tells `stored` which values it set; the
// reserved slots and bytes outside are dropped. The comments are never touched.
void storeShortDialImageByte(
    ExchangeConfig &config, int32_t k, uint8_t byte, const StoredRangeCallback &stored = {});

// The same for the PE image, whose slot s is record s.
[[nodiscard]] std::optional<uint8_t> peImageByte(const ExchangeConfig &config, int32_t k);
void storePEImageByte(
    ExchangeConfig &config, int32_t k, uint8_t byte, const StoredRangeCallback &stored = {});

} // namespace ornis
