#pragma once

#include "ConfigFields.h"

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

// The one description of every value of the configuration: what it is called, where it
// lives, what it may hold and what the exchange can hold of it. The JSON form reads and
// writes by it, the comparison names by it, and the blocks are copied and checked by it.

namespace ornis {

struct IntegerRange
{
    int64_t minimum;
    int64_t maximum;

    [[nodiscard]] constexpr bool contains(int64_t value) const
    {
        return value >= minimum && value <= maximum;
    }
    bool operator==(const IntegerRange &) const = default;
};

// Where one value lives in a configuration.
using FieldPlace = std::variant<int32_t *, int16_t *, uint8_t *, bool *, Text *>;

// What an index or a member index of a field counts, as the names of its items show it.
enum class Counting : uint8_t {
    None,
    Extension, // extension index: 21..28, 31..38
    Line, // line index: 91..94
    FromOne, // 1, 2, ...
    FromZero, // 0, 1, ...
    Weekday, // Sunday first
    Module, // the row of the module table
    GridCell, // the byte index of a grid cell: its row and column headers
    ShortDial, // record 0 is short dial 810
    PERecord, // "00".."99"
};

struct FieldRow
{
    Field field;
    FieldKind kind;
    std::optional<Block> block; // nothing for the exchange block
    // The key of the JSON form: of the value, of the array of values or of the array of
    // records whose member the value is.
    const char *key;
    const char *member; // the member of the records; nullptr for none
    FieldPlace (*place)(ExchangeConfig &config, int index, int member);
    int count; // the elements of the array; 0 for a single value
    int memberCount; // the elements of the member's array; 0 for a single value
    // The item as a comparison names it: %1 the index, %2 the member, as they count.
    const char *item;
    Counting index;
    Counting memberIndex;
    // The integers the JSON form takes; nothing for every value the field's type holds.
    std::optional<IntegerRange> accepted = std::nullopt;
    // The integers the exchange holds as they are in element `index`, for a configuration
    // of `model`; nothing when the value does not travel (it keeps what it holds).
    std::optional<IntegerRange> (*storable)(int32_t model, int index) = nullptr;
    // A text that a dial field holds: at most 14 characters 0-9 and P.
    bool dialNumber = false;
    // What the exchange holds of a value that is not an integer, beyond its kind.
    const char *holds = nullptr;
};

// Every field, in the order of the Field enum: the order of the blocks, and within each
// the order of the JSON form's keys and of the comparison's items.
[[nodiscard]] std::span<const FieldRow> fieldRows();
[[nodiscard]] const FieldRow &fieldRow(Field field);

// The rows of one key of the JSON form: a single row for a value or an array of values,
// the rows of the members for an array of records.
[[nodiscard]] std::span<const std::span<const FieldRow>> fieldKeys();

[[nodiscard]] FieldPlace placeOf(ExchangeConfig &config, const FieldRef &ref);

} // namespace ornis
