#pragma once

#include "ConfigFields.h"

#include <tuple>

namespace ornis {

// A run of values that one step of a read stored: every value from `first` to `last`, both
// included, ordered by field, then element, then member.
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

} // namespace ornis
