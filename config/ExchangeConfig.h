#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The whole in-memory configuration of one exchange. Plain data: the views, the files
// and the transfer blocks read and write these fields directly.
//
// Every text is a Windows-1250 byte string; conversion to Unicode happens only at the
// Qt boundary.

namespace ornis {

using Text = std::string; // Windows-1250 bytes

constexpr int ExtensionCount = 16;
constexpr int LineCount = 4;
constexpr int ShortDialCount = 90;
constexpr int PERecordCount = 100;
constexpr int CounterCount = 9;
constexpr int WeekdayCount = 7;
constexpr int ParkingPositionCount = 6;

// Exchange models, the list index of the model choice (-1 when none is chosen).
enum ExchangeModel : int32_t { ModelNone = -1, ModelMira = 0, ModelVega = 1, ModelVegaX = 2 };

struct ModuleFlags
{
    bool MiraMKV = false;
    bool MiraMKPR = false;
    bool GSM = false;
    bool MKV = false;
    bool MKPR = false;
    bool MKX = false;

    bool operator==(const ModuleFlags &) const = default;
};

// The five byte matrices of the settings block, one contiguous 460-byte area in this
// order, each row by row. The settings file stores them as raw copies.
struct GridArea
{
    std::array<uint8_t, 17 * 12> ExtensionGrid {}; // rows: 21..38, "00"; 12 columns
    std::array<uint8_t, 4 * 16> DayRingGrid {}; // rows: lines 91..94; extensions
    std::array<uint8_t, 4 * 16> NightRingGrid {}; // as DayRingGrid
    std::array<uint8_t, 4 * 4> GlobalLineGrid {}; // rows: LP, G1, G9, G2; lines
    std::array<uint8_t, 7 * 16> GlobalExtensionGrid {}; // rows: G3, G4, G6 J, G6 L, G8, GP, GE

    bool operator==(const GridArea &) const = default;
};
static_assert(sizeof(GridArea) == 460);
static_assert(offsetof(GridArea, DayRingGrid) == 204);
static_assert(offsetof(GridArea, NightRingGrid) == 268);
static_assert(offsetof(GridArea, GlobalLineGrid) == 332);
static_assert(offsetof(GridArea, GlobalExtensionGrid) == 348);

struct ExtensionServices
{
    int32_t BackRing = 0; // 0 "vyp", 1..15 the other extensions, 16..19 lines 91..94
    int32_t Redirect = 0; // 0 "vyp", 1..15 the other extensions
    int32_t RedirectWhen = 0; // 0..3: "53".."56"
    std::array<bool, LineCount> RingFrom {};
    Text AlarmOnce = "  :  "; // time-of-day field text; "  :  " is unset
    Text AlarmDaily = "  :  ";
    std::array<bool, ParkingPositionCount> ParkTo {};

    bool operator==(const ExtensionServices &) const = default;
};

struct ShortDialRecord
{
    int32_t Line = 0; // 0 "vyp", 1 "0", 2..5 "91".."94"; -1 none chosen
    Text Number;
    Text Comment;

    bool operator==(const ShortDialRecord &) const = default;
};

struct PERecord
{
    int32_t Line = 0; // 0 "vyp", 1 "0", 2..6 "91".."95"; -1 none chosen
    Text Number;

    bool operator==(const PERecord &) const = default;
};

struct ExchangeConfig
{
    // The controls' initial values: the comment texts "Kancelář 21", "Státní linka 91"...
    // Everything else starts zeroed; ResetAll then applies the factory values.
    ExchangeConfig();

    // Exchange block (kept in the preferences file).
    int32_t ExchangeType = ModelMira;
    ModuleFlags ExchangeModules;

    // Settings block.
    GridArea Grids;
    std::array<Text, ExtensionCount> ExtensionComments;
    std::array<Text, LineCount> DayRingComments;
    std::array<Text, LineCount> NightRingComments;
    Text DayStart = "06:00"; // time-of-day field texts
    Text NightStart = "18:00";
    std::array<int32_t, 4> G7U {}; // list index 0..9 ("M1".."M0"), -1 none
    std::array<bool, WeekdayCount> G0Days {}; // Sunday first
    int32_t FaxExtension = 0; // 0 "vyp", 1..16 extensions 21..38, -1 none
    std::array<int16_t, CounterCount> Counters {};

    // Services block (never stored in a file).
    std::array<ExtensionServices, ExtensionCount> Services;
    std::array<bool, LineCount> GeneralRing {};
    bool BlockRedirect = false;

    // Dialling tables.
    std::array<ShortDialRecord, ShortDialCount> ShortDialTable;
    std::array<PERecord, PERecordCount> PETable;

    bool operator==(const ExchangeConfig &) const = default;
};

// The unset time-of-day field.
inline constexpr const char *UnsetTime = "  :  ";

} // namespace ornis
