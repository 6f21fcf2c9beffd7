#pragma once

#include "StoredRangeCallback.h"

#include <array>
#include <cstdint>
#include <optional>

// The services cells of the exchange: where each item lies and how it is coded, apart
// from the transfer that visits them. Addresses are 12-bit exchange addresses.

namespace ornis {

struct ExchangeConfig;
struct TransferState;

namespace ServicesAddress {
inline constexpr int GeneralRing = 0x008; // two cells per line
inline constexpr int Redirect = 0x050; // one cell per extension
inline constexpr int BackRing = 0x060; // one cell per extension
inline constexpr int Reserved = 0x070; // 16 cells, zero on writing
inline constexpr int AlarmOnce = 0x080; // hour, minute per extension
inline constexpr int AlarmDaily = 0x0A0; // hour, minute per extension
inline constexpr int RingFrom = 0x0C0; // per line: extensions 21..28, then 31..38
inline constexpr int Unrelated = 0x0C8; // up to 0x0F2: read past, never written
inline constexpr int Parking = 0x0F3; // positions 1..6
inline constexpr int BlockRedirect = 0x57A;
} // namespace ServicesAddress

// A stretch of cells reached by one address selection.
struct ServicesWindow
{
    int first;
    int last;

    // The address word sent for the window: 0x8000 | first, low byte first.
    [[nodiscard]] constexpr int32_t addressWord() const { return 0x8000 | first; }
};

// A write skips the cells that are not services; a read takes 0x0C8..0x0F8 in one run and
// discards what is not services.
inline constexpr std::array<ServicesWindow, 4> ServicesWriteWindows {{
    {0x008, 0x00F},
    {0x050, 0x0C7},
    {0x0F3, 0x0F8},
    {0x57A, 0x57A},
}};
inline constexpr std::array<ServicesWindow, 3> ServicesReadWindows {{
    {0x008, 0x00F},
    {0x050, 0x0F8},
    {0x57A, 0x57A},
}};

// The byte written into cell `address`, taken from the configuration now; nothing for an
// address that is written by no services write.
[[nodiscard]] std::optional<uint8_t> servicesCellByte(const ExchangeConfig &config, int address);

// Stores the byte read from cell `address` and tells `stored` which values it set. The hour
// of a wake-up time waits in `pending.TimeHour` until its minute cell arrives. True when
// the configuration changed (false for discarded cells and for an hour cell).
bool storeServicesCell(ExchangeConfig &config, TransferState &pending, int address, uint8_t byte,
    const StoredRangeCallback &stored = {});

// The code of extension index 0..15 in the parking cells: the number minus 20 in BCD
// (21 gives 0x01, 38 gives 0x18).
[[nodiscard]] uint8_t parkingCode(int extension);

} // namespace ornis
