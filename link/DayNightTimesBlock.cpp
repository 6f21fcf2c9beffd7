#include "Bcd.h"
#include "BlockHandlers.h"
#include "Framing.h"
#include "TimesImage.h"
#include "TransferObserver.h"
#include "config/ExchangeConfig.h"
#include "config/FieldTable.h"
#include "config/TimeOfDay.h"

#include <cstdio>

// The day/night times block: hour and minute of DayStart, then of NightStart, as BCD bytes
// from 0x0D8. It always follows the settings block. Its write is a framed block like the
// others (FramedBlocks.cpp); its read tells of bytes that are no time.

namespace ornis {

namespace {

constexpr int LargestShownValue = 99; // two digits

// Steps 0 and 1 carry DayStart, steps 2 and 3 NightStart; the hour first.
template<typename Config> auto &timeField(Config &config, int32_t step)
{
    return step < 2 ? config.DayStart : config.NightStart;
}

class TimesReadHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 10; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        return readReaction(byte, context, timesReadFrame(), [&](int32_t step, uint8_t b) {
            if (step % 2 == 0)
                hourByte_ = b;
            const TimeStored stored = storeTimesByte(context.config(), context.state(), step, b);
            if (stored.changed) {
                const FieldRef time {step < 2 ? Field::DayStart : Field::NightStart};
                context.observer().valuesStored({time, time});
            }
            if (stored.noTime)
                context.observer().readWarning(noTimeMessage(step, b));
        });
    }

private:
    std::string noTimeMessage(int32_t step, uint8_t minuteByte) const
    {
        char message[128];
        std::snprintf(message, sizeof message,
            "%s: the exchange holds the bytes %02X %02X, which are no time; read as 00:00",
            timesFieldKey(step), hourByte_, minuteByte);
        return message;
    }

    uint8_t hourByte_ = 0;
};

} // namespace

std::optional<uint8_t> timesByteAt(const ExchangeConfig &config, int32_t step)
{
    if (step < 0 || step >= TimesStepCount)
        return std::nullopt;
    // A field that holds no time (blank) goes out as 00:00.
    const TimeOfDay time = parseTimeOfDay(timeField(config, step)).value_or(TimeOfDay {});
    return toBcd(step % 2 == 0 ? time.hour : time.minute);
}

TimeStored storeTimesByte(
    ExchangeConfig &config, TransferState &pending, int32_t step, uint8_t byte)
{
    if (step < 0 || step >= TimesStepCount)
        return {};
    if (step % 2 == 0) {
        pending.TimeHour = uint16_t(fromBcd(byte));
        return {};
    }
    pending.TimeMinute = uint16_t(fromBcd(byte));
    const bool noTime
        = pending.TimeHour > LargestShownValue || pending.TimeMinute > LargestShownValue;
    const Text text
        = noTime ? formatTimeOfDay(0, 0) : formatTimeOfDay(pending.TimeHour, pending.TimeMinute);
    Text &field = timeField(config, step);
    const bool changed = field != text;
    field = text;
    return {changed, noTime};
}

const char *timesFieldKey(int32_t step)
{
    return fieldRow(step < 2 ? Field::DayStart : Field::NightStart).key;
}

std::unique_ptr<BlockHandler> makeTimesReadHandler()
{
    return std::make_unique<TimesReadHandler>();
}

} // namespace ornis
