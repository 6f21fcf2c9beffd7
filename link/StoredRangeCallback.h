#pragma once

#include "config/FieldRange.h"

#include <functional>

namespace ornis {

// Told each run of values a read step stored, one call per run of adjacent values; empty
// when nobody asks.
using StoredRangeCallback = std::function<void(const FieldRange &)>;

inline void tellStored(
    const StoredRangeCallback &stored, const FieldRef &first, const FieldRef &last)
{
    if (stored)
        stored(FieldRange {first, last});
}

inline void tellStored(const StoredRangeCallback &stored, const FieldRef &value)
{
    tellStored(stored, value, value);
}

} // namespace ornis
