#include "BlockHandlers.h"
#include "DialSlots.h"
#include "Framing.h"
#include "SettingsImage.h"
#include "SettingsSteps.h"
#include "TimesImage.h"
#include "TransferObserver.h"

// The blocks of one shape: an opening, one address, then a run of bytes written or read
// step by step, and a closing. One row each, one handler each way. The settings read asks
// for one byte more than the block holds and drops it; the settings write closes with 'E'
// twice. The day/night times are read by a handler of their own, which tells of bytes that
// are no time.

namespace ornis {

namespace {

using ByteAt = std::optional<uint8_t> (*)(const ExchangeConfig &, int32_t step);
using StoreByte = void (*)(ExchangeConfig &, int32_t step, uint8_t, const StoredRangeCallback &);

struct FramedBlock
{
    uint8_t addressLow;
    uint8_t addressHigh; // 0x80 | bits 8..11 of the block address
    int32_t firstStep;
    int32_t writeEnd; // 'E' once TransferStep reaches it
    int32_t readLast; // the last step read
    Closing writeClosing;
    uint16_t writeDenominator;
    uint16_t readDenominator; // 0 and no storeByte: read by a handler of its own
    ByteAt byteAt;
    StoreByte storeByte;

    [[nodiscard]] constexpr BlockFrame writeFrame() const
    {
        return {addressLow, addressHigh, firstStep, writeEnd, writeClosing};
    }
    [[nodiscard]] constexpr BlockFrame readFrame() const
    {
        return {addressLow, addressHigh, firstStep, readLast};
    }
};

// Block address 0x187, steps 7..110.
constexpr FramedBlock Settings {0x87, 0x81, FirstSettingsStep, LastSettingsStep + 1,
    LastSettingsStep + 1, Closing::EE, 214, 111, settingsByteAt, storeSettingsByte};
// Block address 0x0D8, steps 0..3; read in DayNightTimesBlock.cpp.
constexpr FramedBlock Times {
    0xD8, 0x80, 0, TimesStepCount, TimesStepCount - 1, Closing::EX, 14, 0, timesByteAt, nullptr};
// Block address 0x200, image bytes 0..847. The read's denominator is six events short of
// a complete read, so the bar stands at 100 for its last ten events.
constexpr FramedBlock ShortDials {0x00, 0x82, 0, ShortDialImageSize, ShortDialImageSize - 1,
    Closing::EX, 1702, 848, shortDialImageByte, storeShortDialImageByte};
// Block address 0x660, image bytes 0..799.
constexpr FramedBlock PERecords {0x60, 0x86, 0, PEImageSize, PEImageSize - 1, Closing::EX, 1606,
    806, peImageByte, storePEImageByte};

class FramedWriteHandler final : public BlockHandler
{
public:
    explicit FramedWriteHandler(const FramedBlock &block)
        : block_(block)
    {
    }

    [[nodiscard]] uint16_t progressDenominator() const override { return block_.writeDenominator; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const ExchangeConfig &config = context.config();
        return writeReaction(byte, context, block_.writeFrame(),
            [&](int32_t step) { return block_.byteAt(config, step); });
    }

private:
    const FramedBlock &block_;
};

class FramedReadHandler final : public BlockHandler
{
public:
    explicit FramedReadHandler(const FramedBlock &block)
        : block_(block)
    {
    }

    [[nodiscard]] uint16_t progressDenominator() const override { return block_.readDenominator; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        ExchangeConfig &config = context.config();
        TransferObserver &observer = context.observer();
        const StoredRangeCallback stored
            = [&observer](const FieldRange &range) { observer.valuesStored(range); };
        return readReaction(byte, context, block_.readFrame(),
            [&](int32_t step, uint8_t b) { block_.storeByte(config, step, b, stored); });
    }

private:
    const FramedBlock &block_;
};

} // namespace

BlockFrame timesReadFrame()
{
    return Times.readFrame();
}

std::unique_ptr<BlockHandler> makeSettingsWriteHandler()
{
    return std::make_unique<FramedWriteHandler>(Settings);
}

std::unique_ptr<BlockHandler> makeSettingsReadHandler()
{
    return std::make_unique<FramedReadHandler>(Settings);
}

std::unique_ptr<BlockHandler> makeTimesWriteHandler()
{
    return std::make_unique<FramedWriteHandler>(Times);
}

std::unique_ptr<BlockHandler> makeShortDialsWriteHandler()
{
    return std::make_unique<FramedWriteHandler>(ShortDials);
}

std::unique_ptr<BlockHandler> makeShortDialsReadHandler()
{
    return std::make_unique<FramedReadHandler>(ShortDials);
}

std::unique_ptr<BlockHandler> makePEWriteHandler()
{
    return std::make_unique<FramedWriteHandler>(PERecords);
}

std::unique_ptr<BlockHandler> makePEReadHandler()
{
    return std::make_unique<FramedReadHandler>(PERecords);
}

} // namespace ornis
