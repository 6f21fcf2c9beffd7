#pragma once

#include <cstdint>

// The names of the values of the configuration: each field, and one value of it.

namespace ornis {

enum class Field : uint8_t {
    // Exchange block
    ExchangeType,
    ExchangeModule, // index: the row of the module table
    // Settings
    DayStart,
    NightStart,
    ExtensionGrid, // index: the byte index of the cell
    DayRingGrid,
    NightRingGrid,
    GlobalLineGrid,
    GlobalExtensionGrid,
    ExtensionComment,
    DayRingComment,
    NightRingComment,
    G7U,
    G0Day,
    FaxExtension,
    Counter,
    // Services: index the extension; member the line or parking position
    BackRing,
    Redirect,
    RedirectWhen,
    RingFrom,
    AlarmOnce,
    AlarmDaily,
    ParkTo,
    GeneralRing, // index: the line
    BlockRedirect,
    // Dialling tables: index the record
    ShortDialLine,
    ShortDialNumber,
    ShortDialComment,
    PELine,
    PENumber,
};

// One value: its field, the element of an array field and the member of a record's array.
struct FieldRef
{
    Field field;
    int index = 0;
    int member = 0;

    bool operator==(const FieldRef &) const = default;
};

enum class FieldKind { Integer, Flag, Text, Time };

} // namespace ornis
