#include "Bcd.h"
#include "BlockHandlers.h"
#include "Framing.h"
#include "TransferObserver.h"
#include "config/ExchangeConfig.h"
#include "config/TimeOfDay.h"

// The day/night times block: hour and minute of DayStart, then of NightStart, as BCD bytes
// from 0x0D8. It always follows the settings block.

namespace ornis {

namespace {

constexpr BlockFrame TimesWriteFrame {0xD8, 0x80, 0, 4};
constexpr BlockFrame TimesReadFrame {0xD8, 0x80, 0, 3};

// Steps 0 and 1 carry DayStart, steps 2 and 3 NightStart; the hour first.
Text &timeField(ExchangeConfig &config, int32_t step)
{
    return step < 2 ? config.DayStart : config.NightStart;
}

class TimesWriteHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 14; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        ExchangeConfig &config = context.config();
        return writeReaction(
            byte, context, TimesWriteFrame, [&config](int32_t step) -> std::optional<uint8_t> {
                if (step < 0 || step > 3)
                    return std::nullopt;
                // A field that holds no time (blank) goes out as 00:00.
                const TimeOfDay time
                    = parseTimeOfDay(timeField(config, step)).value_or(TimeOfDay {});
                return toBcd(step % 2 == 0 ? time.hour : time.minute);
            });
    }
};

class TimesReadHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 10; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        return readReaction(byte, context, TimesReadFrame, [&context](int32_t step, uint8_t b) {
            TransferState &state = context.state();
            if (step == 0 || step == 2) {
                state.TimeHour = uint16_t(fromBcd(b));
            } else if (step == 1 || step == 3) {
                state.TimeMinute = uint16_t(fromBcd(b));
                Text &field = timeField(context.config(), step);
                const Text text = formatTimeOfDay(state.TimeHour, state.TimeMinute);
                if (field != text) {
                    field = text;
                    context.observer().valuesStored(ConfigBlock::DayNightTimes);
                }
            }
        });
    }
};

} // namespace

std::unique_ptr<BlockHandler> makeTimesWriteHandler()
{
    return std::make_unique<TimesWriteHandler>();
}

std::unique_ptr<BlockHandler> makeTimesReadHandler()
{
    return std::make_unique<TimesReadHandler>();
}

} // namespace ornis
