#pragma once

#include "ConfigFields.h"

#include <optional>
#include <tuple>

namespace ornis {

// A run of values: every value from `first` to `last`, both included, ordered by field,
// then element, then member. What one step of a read stored, or what one change of the
// configuration touched.
struct FieldRange
{
    FieldRef first;
    FieldRef last;
};

[[nodiscard]] inline bool contains(const FieldRange &range, const FieldRef &ref)
{
    const auto key = [](const FieldRef &r) { return std::tuple(r.field, r.index, r.member); };
    return key(range.first) <= key(ref) && key(ref) <= key(range.last);
}

// The range holds values of `field`.
[[nodiscard]] inline bool touches(const FieldRange &range, Field field)
{
    return range.first.field <= field && field <= range.last.field;
}

// Every value of the configuration, from the exchange model to the last PE number.
[[nodiscard]] FieldRange wholeConfigRange();
// Every value of `block`; of the exchange block (model and modules) for none.
[[nodiscard]] FieldRange blockRange(std::optional<Block> block);
// Every element of `field`.
[[nodiscard]] FieldRange fieldRange(Field field);

} // namespace ornis
