#include "ConfigFields.h"

#include "FieldTable.h"
#include "ModuleTable.h"
#include "TimeOfDay.h"

#include <algorithm>
#include <limits>
#include <span>
#include <variant>

namespace ornis {

namespace {

using Visit = std::function<void(const FieldRef &)>;

// The values of one key of the JSON form: element by element, and for an array of records
// record by record, so that the values of one record come together.
void visitKey(std::span<const FieldRow> rows, const Visit &visit)
{
    const int count = std::max(rows.front().count, 1);
    for (int i = 0; i < count; ++i) {
        for (const FieldRow &row : rows) {
            for (int m = 0; m < std::max(row.memberCount, 1); ++m)
                visit({row.field, i, m});
        }
    }
}

} // namespace

FieldKind kindOf(Field field)
{
    return fieldRow(field).kind;
}

std::optional<Block> blockOf(Field field)
{
    return fieldRow(field).block;
}

std::string fieldKey(const FieldRef &ref)
{
    const FieldRow &row = fieldRow(ref.field);
    std::string key = row.key;
    if (row.index == Counting::Module)
        return key + '.' + ExchangeModuleTable.at(std::size_t(ref.index)).key;
    if (row.count > 0)
        key += '[' + std::to_string(ref.index) + ']';
    if (row.member)
        key += std::string(".") + row.member;
    if (row.memberCount > 0)
        key += '[' + std::to_string(ref.member) + ']';
    return key;
}

void forEachField(BlockSet blocks, bool withExchange, const Visit &visit)
{
    for (const std::span<const FieldRow> rows : fieldKeys()) {
        const std::optional<Block> block = rows.front().block;
        if (block ? blocks.contains(*block) : withExchange)
            visitKey(rows, visit);
    }
}

int64_t integerValue(const ExchangeConfig &config, const FieldRef &ref)
{
    return std::visit(
        [](auto *value) -> int64_t {
            if constexpr (std::is_same_v<decltype(value), Text *>)
                return 0;
            else
                return int64_t(*value);
        },
        placeOf(const_cast<ExchangeConfig &>(config), ref));
}

void setIntegerValue(ExchangeConfig &config, const FieldRef &ref, int64_t number)
{
    std::visit(
        [number](auto *value) {
            using Value = std::remove_pointer_t<decltype(value)>;
            if constexpr (!std::is_same_v<Value, Text>)
                *value = Value(number);
        },
        placeOf(config, ref));
}

std::pair<int64_t, int64_t> integerLimits(Field field)
{
    static ExchangeConfig probe;
    return std::visit(
        [](auto *value) -> std::pair<int64_t, int64_t> {
            using Value = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, Text>)
                return {0, 0};
            else
                return {std::numeric_limits<Value>::min(), std::numeric_limits<Value>::max()};
        },
        placeOf(probe, {field}));
}

const Text &textValue(const ExchangeConfig &config, const FieldRef &ref)
{
    static const Text none;
    const FieldPlace place = placeOf(const_cast<ExchangeConfig &>(config), ref);
    return std::holds_alternative<Text *>(place) ? *std::get<Text *>(place) : none;
}

void setTextValue(ExchangeConfig &config, const FieldRef &ref, const Text &text)
{
    const FieldPlace place = placeOf(config, ref);
    if (std::holds_alternative<Text *>(place))
        *std::get<Text *>(place) = text;
}

void copyValue(const ExchangeConfig &from, ExchangeConfig &to, const FieldRef &ref)
{
    std::visit(
        [&to, &ref](auto *value) {
            using Value = std::remove_pointer_t<decltype(value)>;
            *std::get<Value *>(placeOf(to, ref)) = *value;
        },
        placeOf(const_cast<ExchangeConfig &>(from), ref));
}

std::string fieldValueText(const ExchangeConfig &config, const FieldRef &ref)
{
    switch (kindOf(ref.field)) {
    case FieldKind::Text:
    case FieldKind::Time:
        return '"' + textValue(config, ref) + '"';
    case FieldKind::Flag:
        return integerValue(config, ref) ? "true" : "false";
    case FieldKind::Integer:
        break;
    }
    return std::to_string(integerValue(config, ref));
}

bool sameValue(const ExchangeConfig &a, const ExchangeConfig &b, const FieldRef &ref)
{
    switch (kindOf(ref.field)) {
    case FieldKind::Time: {
        const std::optional<TimeOfDay> time = parseTimeOfDay(textValue(a, ref));
        return (time && time == parseTimeOfDay(textValue(b, ref)))
            || textValue(a, ref) == textValue(b, ref);
    }
    case FieldKind::Text:
        return textValue(a, ref) == textValue(b, ref);
    case FieldKind::Integer:
    case FieldKind::Flag:
        break;
    }
    return integerValue(a, ref) == integerValue(b, ref);
}

std::vector<FieldRef> differingFields(
    const ExchangeConfig &a, const ExchangeConfig &b, BlockSet blocks, bool withExchange)
{
    std::vector<FieldRef> fields;
    forEachField(blocks, withExchange, [&](const FieldRef &ref) {
        if (!sameValue(a, b, ref))
            fields.push_back(ref);
    });
    return fields;
}

BlockSet differingBlocks(const ExchangeConfig &a, const ExchangeConfig &b, BlockSet blocks)
{
    // As a rule nothing differs (the check before each transfer): one comparison of the
    // whole says so at a fraction of the cost of the walk below. The model and modules,
    // which belong to no block, are taken from `a` so that they cannot tell.
    ExchangeConfig probe = b;
    forEachField({}, true, [&](const FieldRef &ref) { copyValue(a, probe, ref); });
    if (probe == a)
        return {};
    BlockSet differing;
    for (const Block block : AllBlocks) {
        if (!blocks.contains(block))
            continue;
        bool same = true;
        forEachField({block}, false, [&](const FieldRef &ref) {
            same = same && integerValue(a, ref) == integerValue(b, ref)
                && textValue(a, ref) == textValue(b, ref);
        });
        if (!same)
            differing.insert(block);
    }
    return differing;
}

} // namespace ornis
