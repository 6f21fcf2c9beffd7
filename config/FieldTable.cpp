#include "FieldTable.h"

#include "ChoiceLists.h"
#include "Counters.h"
#include "GridRules.h"
#include "ModuleTable.h"

#include <array>
#include <string_view>
#include <type_traits>
#include <vector>

namespace ornis {

namespace {

using enum Field;
using enum Counting;

constexpr FieldKind I = FieldKind::Integer;
constexpr FieldKind F = FieldKind::Flag;
constexpr FieldKind T = FieldKind::Text;
constexpr FieldKind H = FieldKind::Time;
constexpr Block S = Block::Settings;
constexpr Block V = Block::Services;
constexpr Block D = Block::ShortDials;
constexpr Block P = Block::PE;

// The keys of the arrays of records, each shared by the rows of its members, and the
// members both kinds of dialling record have.
constexpr const char *ServicesKey = "Services";
constexpr const char *ShortDialsKey = "ShortDialTable";
constexpr const char *PEKey = "PETable";
constexpr const char *LineMember = "Line";
constexpr const char *NumberMember = "Number";

// --- Where the values live ------------------------------------------------------------

template<auto Member> FieldPlace single(ExchangeConfig &c, int, int)
{
    return &(c.*Member);
}

template<auto Array> FieldPlace element(ExchangeConfig &c, int i, int)
{
    return &(c.*Array).at(std::size_t(i));
}

template<auto Grid> FieldPlace gridCell(ExchangeConfig &c, int i, int)
{
    return &(c.Grids.*Grid).at(std::size_t(i));
}

template<auto Table, auto Member> FieldPlace recordValue(ExchangeConfig &c, int i, int)
{
    return &((c.*Table).at(std::size_t(i)).*Member);
}

template<auto Table, auto Member> FieldPlace recordElement(ExchangeConfig &c, int i, int m)
{
    return &((c.*Table).at(std::size_t(i)).*Member).at(std::size_t(m));
}

FieldPlace moduleFlag(ExchangeConfig &c, int i, int)
{
    return &(c.ExchangeModules.*ExchangeModuleTable.at(std::size_t(i)).flag);
}

template<typename Array> constexpr int sizeOf = int(std::tuple_size_v<Array>);
template<auto Array>
constexpr int elementsOf = sizeOf<std::remove_cvref_t<decltype(ExchangeConfig {}.*Array)>>;
template<auto Grid>
constexpr int cellsOf = sizeOf<std::remove_cvref_t<decltype(GridArea {}.*Grid)>>;
template<typename Record, auto Member>
constexpr int membersOf = sizeOf<std::remove_cvref_t<decltype(Record {}.*Member)>>;

// --- What the exchange holds ----------------------------------------------------------

template<int64_t Minimum, int64_t Maximum> std::optional<IntegerRange> always(int32_t, int)
{
    return IntegerRange {Minimum, Maximum};
}

std::optional<IntegerRange> counter(int32_t, int i)
{
    const CounterRange &range = CounterRanges.at(std::size_t(i));
    return IntegerRange {range.minimum, range.maximum};
}

// A grid cell travels in as many bits as its values take; the J and L values as whole
// bytes. The cells out of use never travel, row GE for model MIRA only.
template<Field GridField> std::optional<IntegerRange> cell(int32_t model, int i)
{
    const GridRules &rules = gridRules(*gridOfField(GridField));
    switch (rules.kindAt(i % rules.shape.columns + 1, i / rules.shape.columns + 1)) {
    case CellKind::Mark:
        return IntegerRange {0, 1};
    case CellKind::Call:
    case CellKind::G2:
        return IntegerRange {0, 3};
    case CellKind::LP:
        return IntegerRange {0, 2};
    case CellKind::J:
    case CellKind::L:
        return IntegerRange {0, 255};
    case CellKind::MiraMark:
        return model == ModelMira ? std::optional(IntegerRange {0, 1}) : std::nullopt;
    case CellKind::Unused:
        break;
    }
    return std::nullopt;
}

// No model chosen too: a form the program wrote (a backup) must read back.
constexpr IntegerRange ModelIndex {ModelNone, ModelVegaX};
constexpr IntegerRange BackRingItems {0, BackRingItemCount - 1};
constexpr IntegerRange RedirectItems {0, RedirectItemCount - 1};
constexpr IntegerRange Conditions {0, 3};

using C = ExchangeConfig;
using G = GridArea;
using X = ExtensionServices;
using R = ShortDialRecord;
using E = ornis::PERecord;
constexpr int Extensions = elementsOf<&C::Services>;
constexpr int ShortDials = elementsOf<&C::ShortDialTable>;
constexpr int PERecords = elementsOf<&C::PETable>;

// Field, kind, block, key, member, place, count, member count, item, the counting of the
// index and of the member, then where needed the accepted and the storable integers, a
// dial number, and what the exchange holds.
// Integers that a settings file keeps take every value of their type in the JSON form, so
// that any file converts to JSON and back unchanged; the others take their lists' values.
constexpr std::array<FieldRow, 30> Rows {{
    {ExchangeType, I, std::nullopt, "ExchangeType", nullptr, single<&C::ExchangeType>, 0, 0,
        "Typ ústředny", None, None, ModelIndex},
    {ExchangeModule, F, std::nullopt, "ExchangeModules", nullptr, moduleFlag, ModuleCount, 0,
        "Modul %1", Module, None},
    {DayStart, H, S, "DayStart", nullptr, single<&C::DayStart>, 0, 0, "Režim D/N, Den", None,
        None},
    {NightStart, H, S, "NightStart", nullptr, single<&C::NightStart>, 0, 0, "Režim D/N, Noc", None,
        None},
    {ExtensionGrid, I, S, "ExtensionGrid", nullptr, gridCell<&G::ExtensionGrid>,
        cellsOf<&G::ExtensionGrid>, 0, "%1", GridCell, None, std::nullopt, cell<ExtensionGrid>},
    {DayRingGrid, I, S, "DayRingGrid", nullptr, gridCell<&G::DayRingGrid>,
        cellsOf<&G::DayRingGrid>, 0, "Den, %1", GridCell, None, std::nullopt, cell<DayRingGrid>},
    {NightRingGrid, I, S, "NightRingGrid", nullptr, gridCell<&G::NightRingGrid>,
        cellsOf<&G::NightRingGrid>, 0, "Noc, %1", GridCell, None, std::nullopt,
        cell<NightRingGrid>},
    {GlobalLineGrid, I, S, "GlobalLineGrid", nullptr, gridCell<&G::GlobalLineGrid>,
        cellsOf<&G::GlobalLineGrid>, 0, "%1", GridCell, None, std::nullopt, cell<GlobalLineGrid>},
    {GlobalExtensionGrid, I, S, "GlobalExtensionGrid", nullptr, gridCell<&G::GlobalExtensionGrid>,
        cellsOf<&G::GlobalExtensionGrid>, 0, "%1", GridCell, None, std::nullopt,
        cell<GlobalExtensionGrid>},
    {ExtensionComment, T, S, "ExtensionComments", nullptr, element<&C::ExtensionComments>,
        elementsOf<&C::ExtensionComments>, 0, "Pobočka %1, komentář", Extension, None},
    {DayRingComment, T, S, "DayRingComments", nullptr, element<&C::DayRingComments>,
        elementsOf<&C::DayRingComments>, 0, "Den, linka %1, komentář", Line, None},
    {NightRingComment, T, S, "NightRingComments", nullptr, element<&C::NightRingComments>,
        elementsOf<&C::NightRingComments>, 0, "Noc, linka %1, komentář", Line, None},
    {G7U, I, S, "G7U", nullptr, element<&C::G7U>, elementsOf<&C::G7U>, 0, "G7, U%1", FromOne, None,
        std::nullopt, always<-1, 9>},
    {G0Day, F, S, "G0Days", nullptr, element<&C::G0Days>, elementsOf<&C::G0Days>, 0, "G0, %1",
        Weekday, None},
    {FaxExtension, I, S, "FaxExtension", nullptr, single<&C::FaxExtension>, 0, 0, "G5, F/M", None,
        None, std::nullopt, always<-1, ExtensionCount>},
    {Counter, I, S, "Counters", nullptr, element<&C::Counters>, elementsOf<&C::Counters>, 0,
        "GG, C%1", FromZero, None, std::nullopt, counter},
    {BackRing, I, V, ServicesKey, "BackRing", recordValue<&C::Services, &X::BackRing>, Extensions,
        0, "Pobočka %1, Zpětné vyzvánění", Extension, None, BackRingItems,
        always<0, RedirectItemCount - 1>},
    {Redirect, I, V, ServicesKey, "Redirect", recordValue<&C::Services, &X::Redirect>, Extensions,
        0, "Pobočka %1, Přesměrování", Extension, None, RedirectItems,
        always<0, RedirectItemCount - 1>},
    {RedirectWhen, I, V, ServicesKey, "RedirectWhen", recordValue<&C::Services, &X::RedirectWhen>,
        Extensions, 0, "Pobočka %1, Podmínka přesměrování", Extension, None, Conditions,
        always<0, 3>},
    {RingFrom, F, V, ServicesKey, "RingFrom", recordElement<&C::Services, &X::RingFrom>,
        Extensions, membersOf<X, &X::RingFrom>, "Pobočka %1, Vyzvánění %2", Extension, Line},
    {AlarmOnce, H, V, ServicesKey, "AlarmOnce", recordValue<&C::Services, &X::AlarmOnce>,
        Extensions, 0, "Pobočka %1, Buzení jednou", Extension, None},
    {AlarmDaily, H, V, ServicesKey, "AlarmDaily", recordValue<&C::Services, &X::AlarmDaily>,
        Extensions, 0, "Pobočka %1, Buzení denně", Extension, None},
    {ParkTo, F, V, ServicesKey, "ParkTo", recordElement<&C::Services, &X::ParkTo>, Extensions,
        membersOf<X, &X::ParkTo>, "Pobočka %1, Parkování %2", Extension, FromOne, std::nullopt,
        nullptr, false, "a parking position belongs to one extension"},
    {GeneralRing, F, V, "GeneralRing", nullptr, element<&C::GeneralRing>,
        elementsOf<&C::GeneralRing>, 0, "Generální vyzvánění %1", Line, None},
    {BlockRedirect, F, V, "BlockRedirect", nullptr, single<&C::BlockRedirect>, 0, 0,
        "Blokování přesměrování", None, None},
    {ShortDialLine, I, D, ShortDialsKey, LineMember, recordValue<&C::ShortDialTable, &R::Line>,
        ShortDials, 0, "Zkrácená volba %1, státní", ShortDial, None, std::nullopt, always<0, 15>},
    {ShortDialNumber, T, D, ShortDialsKey, NumberMember,
        recordValue<&C::ShortDialTable, &R::Number>, ShortDials, 0, "Zkrácená volba %1, číslo",
        ShortDial, None, std::nullopt, nullptr, true},
    {ShortDialComment, T, D, ShortDialsKey, "Comment",
        recordValue<&C::ShortDialTable, &R::Comment>, ShortDials, 0, "Zkrácená volba %1, komentář",
        ShortDial, None},
    {PELine, I, P, PEKey, LineMember, recordValue<&C::PETable, &E::Line>, PERecords, 0,
        "PE %1, státní", PERecord, None, std::nullopt, always<0, 15>},
    {PENumber, T, P, PEKey, NumberMember, recordValue<&C::PETable, &E::Number>, PERecords, 0,
        "PE %1, číslo", PERecord, None, std::nullopt, nullptr, true},
}};

constexpr bool rowsInOrder()
{
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        if (std::size_t(Rows[i].field) != i)
            return false;
    }
    return true;
}
static_assert(rowsInOrder());

// The rows of one key follow each other.
std::vector<std::span<const FieldRow>> groupByKey()
{
    std::vector<std::span<const FieldRow>> keys;
    std::size_t first = 0;
    for (std::size_t i = 1; i <= Rows.size(); ++i) {
        if (i == Rows.size() || std::string_view(Rows[i].key) != Rows[first].key) {
            keys.emplace_back(Rows.data() + first, i - first);
            first = i;
        }
    }
    return keys;
}

} // namespace

std::span<const FieldRow> fieldRows()
{
    return Rows;
}

const FieldRow &fieldRow(Field field)
{
    return Rows.at(std::size_t(field));
}

std::span<const std::span<const FieldRow>> fieldKeys()
{
    static const std::vector<std::span<const FieldRow>> keys = groupByKey();
    return keys;
}

FieldPlace placeOf(ExchangeConfig &config, const FieldRef &ref)
{
    return fieldRow(ref.field).place(config, ref.index, ref.member);
}

} // namespace ornis
