#include "ConfigFields.h"

#include "Numbering.h"
#include "TimeOfDay.h"

#include <array>
#include <limits>
#include <variant>

namespace ornis {

namespace {

using enum Field;

struct FieldInfo
{
    Field field;
    FieldKind kind;
    std::optional<Block> block;
    const char *array; // the array the value is an element of ("Services"); or its own name
    const char *member; // the member of the array's records ("BackRing"); none: nullptr
    bool indexed; // the array has elements (not FaxExtension, not DayStart...)
    bool memberIndexed; // the member is an array itself (RingFrom, ParkTo)
};

constexpr FieldKind I = FieldKind::Integer;
constexpr FieldKind F = FieldKind::Flag;
constexpr FieldKind T = FieldKind::Text;
constexpr FieldKind H = FieldKind::Time;
constexpr Block S = Block::Settings;
constexpr Block V = Block::Services;

constexpr std::array<FieldInfo, 30> Fields {{
    {ExchangeType, I, std::nullopt, "ExchangeType", nullptr, false, false},
    {ExchangeModule, F, std::nullopt, "ExchangeModules", nullptr, false, false},
    {DayStart, H, S, "DayStart", nullptr, false, false},
    {NightStart, H, S, "NightStart", nullptr, false, false},
    {ExtensionGrid, I, S, "ExtensionGrid", nullptr, true, false},
    {DayRingGrid, I, S, "DayRingGrid", nullptr, true, false},
    {NightRingGrid, I, S, "NightRingGrid", nullptr, true, false},
    {GlobalLineGrid, I, S, "GlobalLineGrid", nullptr, true, false},
    {GlobalExtensionGrid, I, S, "GlobalExtensionGrid", nullptr, true, false},
    {ExtensionComment, T, S, "ExtensionComments", nullptr, true, false},
    {DayRingComment, T, S, "DayRingComments", nullptr, true, false},
    {NightRingComment, T, S, "NightRingComments", nullptr, true, false},
    {G7U, I, S, "G7U", nullptr, true, false},
    {G0Day, F, S, "G0Days", nullptr, true, false},
    {FaxExtension, I, S, "FaxExtension", nullptr, false, false},
    {Counter, I, S, "Counters", nullptr, true, false},
    {BackRing, I, V, "Services", "BackRing", true, false},
    {Redirect, I, V, "Services", "Redirect", true, false},
    {RedirectWhen, I, V, "Services", "RedirectWhen", true, false},
    {RingFrom, F, V, "Services", "RingFrom", true, true},
    {AlarmOnce, H, V, "Services", "AlarmOnce", true, false},
    {AlarmDaily, H, V, "Services", "AlarmDaily", true, false},
    {ParkTo, F, V, "Services", "ParkTo", true, true},
    {GeneralRing, F, V, "GeneralRing", nullptr, true, false},
    {BlockRedirect, F, V, "BlockRedirect", nullptr, false, false},
    {ShortDialLine, I, Block::ShortDials, "ShortDialTable", "Line", true, false},
    {ShortDialNumber, T, Block::ShortDials, "ShortDialTable", "Number", true, false},
    {ShortDialComment, T, Block::ShortDials, "ShortDialTable", "Comment", true, false},
    {PELine, I, Block::PE, "PETable", "Line", true, false},
    {PENumber, T, Block::PE, "PETable", "Number", true, false},
}};

constexpr bool fieldsInOrder()
{
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        if (std::size_t(Fields[i].field) != i)
            return false;
    }
    return true;
}
static_assert(fieldsInOrder());

const FieldInfo &infoOf(Field field)
{
    return Fields[std::size_t(field)];
}

constexpr std::array<const char *, 6> ModuleNames {
    "MiraMKV", "MiraMKPR", "GSM", "MKV", "MKPR", "MKX"};
constexpr std::array<bool ModuleFlags::*, 6> ModuleMembers {&ModuleFlags::MiraMKV,
    &ModuleFlags::MiraMKPR, &ModuleFlags::GSM, &ModuleFlags::MKV, &ModuleFlags::MKPR,
    &ModuleFlags::MKX};

// Where a value lives in the configuration.
using Place = std::variant<int32_t *, int16_t *, uint8_t *, bool *, Text *>;

Place placeOf(ExchangeConfig &c, const FieldRef &ref)
{
    const auto i = std::size_t(ref.index);
    const auto m = std::size_t(ref.member);
    switch (ref.field) {
    case ExchangeType:
        return &c.ExchangeType;
    case ExchangeModule:
        return &(c.ExchangeModules.*ModuleMembers.at(i));
    case DayStart:
        return &c.DayStart;
    case NightStart:
        return &c.NightStart;
    case ExtensionGrid:
        return &c.Grids.ExtensionGrid.at(i);
    case DayRingGrid:
        return &c.Grids.DayRingGrid.at(i);
    case NightRingGrid:
        return &c.Grids.NightRingGrid.at(i);
    case GlobalLineGrid:
        return &c.Grids.GlobalLineGrid.at(i);
    case GlobalExtensionGrid:
        return &c.Grids.GlobalExtensionGrid.at(i);
    case ExtensionComment:
        return &c.ExtensionComments.at(i);
    case DayRingComment:
        return &c.DayRingComments.at(i);
    case NightRingComment:
        return &c.NightRingComments.at(i);
    case G7U:
        return &c.G7U.at(i);
    case G0Day:
        return &c.G0Days.at(i);
    case FaxExtension:
        return &c.FaxExtension;
    case Counter:
        return &c.Counters.at(i);
    case BackRing:
        return &c.Services.at(i).BackRing;
    case Redirect:
        return &c.Services.at(i).Redirect;
    case RedirectWhen:
        return &c.Services.at(i).RedirectWhen;
    case RingFrom:
        return &c.Services.at(i).RingFrom.at(m);
    case AlarmOnce:
        return &c.Services.at(i).AlarmOnce;
    case AlarmDaily:
        return &c.Services.at(i).AlarmDaily;
    case ParkTo:
        return &c.Services.at(i).ParkTo.at(m);
    case GeneralRing:
        return &c.GeneralRing.at(i);
    case BlockRedirect:
        return &c.BlockRedirect;
    case ShortDialLine:
        return &c.ShortDialTable.at(i).Line;
    case ShortDialNumber:
        return &c.ShortDialTable.at(i).Number;
    case ShortDialComment:
        return &c.ShortDialTable.at(i).Comment;
    case PELine:
        return &c.PETable.at(i).Line;
    case PENumber:
        break;
    }
    return &c.PETable.at(i).Number;
}

Place placeOf(const ExchangeConfig &c, const FieldRef &ref)
{
    return placeOf(const_cast<ExchangeConfig &>(c), ref);
}

void visitElements(Field field, int count, const std::function<void(const FieldRef &)> &visit)
{
    for (int i = 0; i < count; ++i)
        visit({field, i});
}

void visitSettings(const std::function<void(const FieldRef &)> &visit)
{
    visit({DayStart});
    visit({NightStart});
    visitElements(ExtensionGrid, int(ExtensionGridShape.size()), visit);
    visitElements(DayRingGrid, int(RingGridShape.size()), visit);
    visitElements(NightRingGrid, int(RingGridShape.size()), visit);
    visitElements(GlobalLineGrid, int(GlobalLineGridShape.size()), visit);
    visitElements(GlobalExtensionGrid, int(GlobalExtensionGridShape.size()), visit);
    visitElements(ExtensionComment, ExtensionCount, visit);
    visitElements(DayRingComment, LineCount, visit);
    visitElements(NightRingComment, LineCount, visit);
    visitElements(G7U, int(std::tuple_size_v<decltype(ExchangeConfig::G7U)>), visit);
    visitElements(G0Day, WeekdayCount, visit);
    visit({FaxExtension});
    visitElements(Counter, CounterCount, visit);
}

// Extension by extension, so that the values of one extension come together.
void visitServices(const std::function<void(const FieldRef &)> &visit)
{
    for (int e = 0; e < ExtensionCount; ++e) {
        for (const Field field : {BackRing, Redirect, RedirectWhen})
            visit({field, e});
        for (int l = 0; l < LineCount; ++l)
            visit({RingFrom, e, l});
        visit({AlarmOnce, e});
        visit({AlarmDaily, e});
        for (int p = 0; p < ParkingPositionCount; ++p)
            visit({ParkTo, e, p});
    }
    visitElements(GeneralRing, LineCount, visit);
    visit({BlockRedirect});
}

} // namespace

FieldKind kindOf(Field field)
{
    return infoOf(field).kind;
}

std::optional<Block> blockOf(Field field)
{
    return infoOf(field).block;
}

std::string fieldKey(const FieldRef &ref)
{
    const FieldInfo &info = infoOf(ref.field);
    std::string key = info.array;
    if (ref.field == ExchangeModule)
        return key + '.' + ModuleNames.at(std::size_t(ref.index));
    if (info.indexed)
        key += '[' + std::to_string(ref.index) + ']';
    if (info.member)
        key += std::string(".") + info.member;
    if (info.memberIndexed)
        key += '[' + std::to_string(ref.member) + ']';
    return key;
}

void forEachField(
    BlockSet blocks, bool withExchange, const std::function<void(const FieldRef &)> &visit)
{
    if (withExchange) {
        visit({ExchangeType});
        visitElements(ExchangeModule, int(ModuleMembers.size()), visit);
    }
    if (blocks.contains(Block::Settings))
        visitSettings(visit);
    if (blocks.contains(Block::Services))
        visitServices(visit);
    if (blocks.contains(Block::ShortDials)) {
        for (int i = 0; i < ShortDialCount; ++i) {
            for (const Field field : {ShortDialLine, ShortDialNumber, ShortDialComment})
                visit({field, i});
        }
    }
    if (blocks.contains(Block::PE)) {
        for (int i = 0; i < PERecordCount; ++i) {
            visit({PELine, i});
            visit({PENumber, i});
        }
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
        placeOf(config, ref));
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
    const Place place = placeOf(config, ref);
    return std::holds_alternative<Text *>(place) ? *std::get<Text *>(place) : none;
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

} // namespace ornis
