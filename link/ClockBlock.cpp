#include "Bcd.h"
#include "BlockHandlers.h"
#include "Framing.h"
#include "LocalClock.h"

#include <array>

// The clock block: the PC's local date and time in six BCD bytes from 0x0D0 (hour,
// minute, second, day, month, two-digit year). Closes 'E', 'D'.

namespace ornis {

namespace {

constexpr BlockFrame ClockFrame {0xD0, 0x80, 0, 6, Closing::ED};

constexpr std::array<int LocalDateTime::*, 6> ClockFields {
    &LocalDateTime::hour,
    &LocalDateTime::minute,
    &LocalDateTime::second,
    &LocalDateTime::day,
    &LocalDateTime::month,
    &LocalDateTime::year,
};

class ClockWriteHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 18; }
    void begin(BlockContext &) override { reading_.reset(); }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        return writeReaction(byte, context, ClockFrame,
            [this, &context](int32_t step) { return byteAt(step, context); });
    }

private:
    std::optional<uint8_t> byteAt(int32_t step, const BlockContext &context)
    {
        if (step < 0 || step >= int32_t(ClockFields.size()))
            return std::nullopt;
        // One reading for all six bytes: reading anew for each could send 23:00:00 or a
        // wrong year when the clock rolls over between two of them.
        if (step == 0 || !reading_)
            reading_ = context.clock().now();
        const LocalDateTime &time = *reading_;
        return toBcd(time.*ClockFields[step] % 100);
    }

    std::optional<LocalDateTime> reading_;
};

} // namespace

std::unique_ptr<BlockHandler> makeClockWriteHandler()
{
    return std::make_unique<ClockWriteHandler>();
}

} // namespace ornis
