#include "WriteRoundTrip.h"

#include "DialSlots.h"
#include "ServicesCells.h"
#include "SettingsImage.h"
#include "SettingsSteps.h"
#include "TimesImage.h"
#include "TransferState.h"
#include "config/ChoiceLists.h"
#include "config/DialNumber.h"
#include "config/ExchangeConfig.h"
#include "config/FieldTable.h"
#include "config/Numbering.h"
#include "config/TimeOfDay.h"

namespace ornis {

namespace {

// Writes `block` of `from` and reads it back into `into`, byte by byte as the transfers do.
void roundTrip(const ExchangeConfig &from, ExchangeConfig &into, Block block)
{
    TransferState pending;
    switch (block) {
    case Block::Settings:
        for (int step = FirstSettingsStep; step <= LastSettingsStep; ++step)
            storeSettingsByte(into, step, *settingsByteAt(from, step));
        for (int step = 0; step < TimesStepCount; ++step)
            (void)storeTimesByte(into, pending, step, *timesByteAt(from, step));
        break;
    case Block::Services:
        for (const ServicesWindow &window : ServicesWriteWindows) {
            for (int address = window.first; address <= window.last; ++address)
                (void)storeServicesCell(into, pending, address, *servicesCellByte(from, address));
        }
        break;
    case Block::ShortDials:
        for (int k = 0; k < ShortDialImageSize; ++k)
            storeShortDialImageByte(into, k, *shortDialImageByte(from, k));
        break;
    case Block::PE:
        for (int k = 0; k < PEImageSize; ++k)
            storePEImageByte(into, k, *peImageByte(from, k));
        break;
    }
}

// What the exchange can hold of a refused value: "1..25", a rule, or nothing else.
std::string storable(const ExchangeConfig &config, const FieldRef &ref)
{
    const FieldRow &row = fieldRow(ref.field);
    if (row.dialNumber)
        return DialNumberRule;
    if (row.holds)
        return row.holds;
    const std::optional<IntegerRange> range
        = row.storable ? row.storable(config.ExchangeType, ref.index) : std::nullopt;
    if (!range)
        return "no other value";
    if (range->minimum == range->maximum)
        return std::to_string(range->minimum);
    return std::to_string(range->minimum) + ".." + std::to_string(range->maximum);
}

// A call-back target the list offers but the cell cannot carry: one of the lines.
bool callBackToLine(const ExchangeConfig &config, const FieldRef &ref)
{
    return ref.field == Field::BackRing && isLineCallBack(integerValue(config, ref));
}

// A dialling record with no line entry chosen: the window stores such a row so.
bool noLineChosen(const ExchangeConfig &config, const FieldRef &ref)
{
    return (ref.field == Field::ShortDialLine || ref.field == Field::PELine)
        && integerValue(config, ref) == -1;
}

ChangedValue changedValue(
    const ExchangeConfig &config, const ExchangeConfig &held, const FieldRef &ref)
{
    const std::string key = fieldKey(ref);
    const std::string value = fieldValueText(config, ref);
    const std::string heldValue = kindOf(ref.field) == FieldKind::Time
        ? (parseTimeOfDay(textValue(held, ref)) ? textValue(held, ref) : "unset")
        : fieldValueText(held, ref);
    if (kindOf(ref.field) == FieldKind::Time)
        return {ref, false, key + ": " + value + " is no time of day; it is sent as " + heldValue,
            heldValue};
    if (callBackToLine(config, ref))
        return {ref, false,
            key + ": the call-back target of extension "
                + std::to_string(extensionNumber(ref.index)) + " is line "
                + serviceItemText(ref.index, int(integerValue(config, ref)), true)
                + ", which the exchange cannot hold; it gets \"vyp\"",
            heldValue};
    if (noLineChosen(config, ref))
        return {ref, false,
            key + ": -1 (no line chosen) is sent as the line byte 0xFE, which reads back as "
                + heldValue,
            heldValue};
    return {ref, true, key + ": " + value + " cannot be stored (" + storable(config, ref) + ")",
        heldValue};
}

} // namespace

ExchangeConfig heldByExchange(const ExchangeConfig &config, BlockSet blocks)
{
    ExchangeConfig held = config;
    for (const Block block : AllBlocks) {
        if (blocks.contains(block))
            roundTrip(config, held, block);
    }
    return held;
}

std::vector<ChangedValue> valuesChangedByWrite(const ExchangeConfig &config, BlockSet blocks)
{
    const ExchangeConfig held = heldByExchange(config, blocks);
    std::vector<ChangedValue> changed;
    for (const FieldRef &ref : differingFields(config, held, blocks, false))
        changed.push_back(changedValue(config, held, ref));
    return changed;
}

ExchangeConfig asSentToExchange(const ExchangeConfig &config, BlockSet blocks)
{
    const ExchangeConfig held = heldByExchange(config, blocks);
    ExchangeConfig sent = config;
    for (const ChangedValue &value : valuesChangedByWrite(config, blocks)) {
        if (!value.refused)
            copyValue(held, sent, value.field);
    }
    return sent;
}

} // namespace ornis
