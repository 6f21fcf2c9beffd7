#include "BlockHandlers.h"
#include "Framing.h"
#include "SettingsImage.h"
#include "SettingsSteps.h"
#include "TransferObserver.h"

// The settings block, 104 bytes from 0x187. A write closes with 'E' twice; a read asks
// for one byte more than the block holds and drops it.

namespace ornis {

namespace {

constexpr BlockFrame SettingsWriteFrame {
    0x87, 0x81, FirstSettingsStep, LastSettingsStep + 1, Closing::EE};
constexpr BlockFrame SettingsReadFrame {0x87, 0x81, FirstSettingsStep, LastSettingsStep + 1};

class SettingsWriteHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 214; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const ExchangeConfig &config = context.config();
        return writeReaction(byte, context, SettingsWriteFrame,
            [&config](int32_t step) { return settingsByteAt(config, step); });
    }
};

class SettingsReadHandler final : public BlockHandler
{
public:
    uint16_t progressDenominator() const override { return 111; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        TransferObserver &observer = context.observer();
        const StoredRangeCallback stored
            = [&observer](const FieldRange &range) { observer.valuesStored(range); };
        return readReaction(byte, context, SettingsReadFrame, [&](int32_t step, uint8_t b) {
            storeSettingsByte(context.config(), step, b, stored);
        });
    }
};

} // namespace

std::unique_ptr<BlockHandler> makeSettingsWriteHandler()
{
    return std::make_unique<SettingsWriteHandler>();
}

std::unique_ptr<BlockHandler> makeSettingsReadHandler()
{
    return std::make_unique<SettingsReadHandler>();
}

} // namespace ornis
