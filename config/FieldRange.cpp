#include "FieldRange.h"

#include "FieldTable.h"

#include <limits>

namespace ornis {

namespace {

constexpr int Last = std::numeric_limits<int>::max();

} // namespace

FieldRange wholeConfigRange()
{
    return {{fieldRows().front().field}, {fieldRows().back().field, Last, Last}};
}

// The fields of a block follow one another in the field table.
FieldRange blockRange(std::optional<Block> block)
{
    std::optional<Field> first;
    Field last {};
    for (const FieldRow &row : fieldRows()) {
        if (row.block != block)
            continue;
        if (!first)
            first = row.field;
        last = row.field;
    }
    return {{first.value_or(last)}, {last, Last, Last}};
}

FieldRange fieldRange(Field field)
{
    return {{field}, {field, Last, Last}};
}

} // namespace ornis
