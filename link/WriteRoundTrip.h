#pragma once

#include "config/Blocks.h"
#include "config/ConfigFields.h"

#include <string>
#include <vector>

// Which values of a configuration a write would not bring into the exchange as they are,
// found with the block codecs themselves: each block is encoded as a write sends it and
// decoded as a read stores it. What the exchange can hold instead, the field table says.

namespace ornis {

struct ExchangeConfig;

// What the exchange holds after a write of `blocks` of `config` and a read back. Values
// the blocks do not carry (the comments, row GE for models other than MIRA) keep theirs.
[[nodiscard]] ExchangeConfig heldByExchange(const ExchangeConfig &config, BlockSet blocks);

// A value that reaches the exchange changed.
struct ChangedValue
{
    FieldRef field;
    // Refused: the exchange cannot hold it. Otherwise the program sends such a value the
    // way it always does, and says so: a time that is no time of day (00:00 for the
    // day/night times, unset for a wake-up), a call-back to a line ("vyp").
    bool refused;
    // "Counters[0]: 1000 cannot be stored (1..25)"; Windows-1250 bytes.
    std::string message;
    // What the exchange gets instead: "25".
    std::string held;
};

// Every value of `blocks` that a write changes on its way, in the order of the fields.
[[nodiscard]] std::vector<ChangedValue> valuesChangedByWrite(
    const ExchangeConfig &config, BlockSet blocks);

// `config` with every value of `blocks` that a write sends differently, with a warning,
// replaced by what the exchange then holds: a wake-up time that is no time of day becomes
// unset, such a day or night start 00:00, a call-back to a line "vyp", a dialling record
// with no line chosen line 15. A value a write refuses keeps its own: the exchange gets it
// only when forced, and then it differs. What verifying a write and comparing two files
// look at.
[[nodiscard]] ExchangeConfig asSentToExchange(const ExchangeConfig &config, BlockSet blocks);

} // namespace ornis
