#pragma once

#include "Blocks.h"
#include "ExchangeConfig.h"
#include "Field.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Every value of the configuration, one at a time: for comparing two configurations and
// naming what differs, whatever the block.

namespace ornis {

[[nodiscard]] FieldKind kindOf(Field field);
// The block of a field; nothing for the exchange block (model and modules).
[[nodiscard]] std::optional<Block> blockOf(Field field);

// The model's name of the value, as the JSON form keys it: "Counters[0]",
// "Services[3].RingFrom[1]", "ShortDialTable[5].Number", "ExchangeModules.GSM".
[[nodiscard]] std::string fieldKey(const FieldRef &ref);

// Every value of `blocks`, block by block in model order, after the exchange block's
// when `withExchange`.
void forEachField(
    BlockSet blocks, bool withExchange, const std::function<void(const FieldRef &)> &visit);

// Integer and flag values as numbers; for probing which values a field can hold.
[[nodiscard]] int64_t integerValue(const ExchangeConfig &config, const FieldRef &ref);
void setIntegerValue(ExchangeConfig &config, const FieldRef &ref, int64_t value);
// The smallest and largest value an integer field's type holds.
[[nodiscard]] std::pair<int64_t, int64_t> integerLimits(Field field);
// Text and time values; setting one of another kind does nothing.
[[nodiscard]] const Text &textValue(const ExchangeConfig &config, const FieldRef &ref);
void setTextValue(ExchangeConfig &config, const FieldRef &ref, const Text &text);
// Sets the value of `ref` in `to` to its value in `from`.
void copyValue(const ExchangeConfig &from, ExchangeConfig &to, const FieldRef &ref);

// The value as the JSON form writes it, for messages: a number, true or false, or a text
// in double quotes (Windows-1250 bytes).
[[nodiscard]] std::string fieldValueText(const ExchangeConfig &config, const FieldRef &ref);

// The value of `ref` is the same in both: times by the time of day they hold ("06:00"
// equals " 6:00"; a text that holds none only the same text), the rest exactly.
[[nodiscard]] bool sameValue(
    const ExchangeConfig &a, const ExchangeConfig &b, const FieldRef &ref);

// The blocks of `blocks` holding any value that is not exactly the same in both.
[[nodiscard]] BlockSet differingBlocks(
    const ExchangeConfig &a, const ExchangeConfig &b, BlockSet blocks);

// The values of `blocks` (and of the exchange block when `withExchange`) that differ.
[[nodiscard]] std::vector<FieldRef> differingFields(
    const ExchangeConfig &a, const ExchangeConfig &b, BlockSet blocks, bool withExchange);

} // namespace ornis
