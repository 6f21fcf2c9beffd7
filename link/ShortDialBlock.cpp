#include "BlockHandlers.h"
#include "DialSlots.h"
#include "Framing.h"
#include "TransferObserver.h"

namespace ornis {

namespace {

// Block address 0x200; image bytes 0..847.
constexpr BlockFrame WriteFrame {0x00, 0x82, 0, ShortDialImageSize};
constexpr BlockFrame ReadFrame {0x00, 0x82, 0, ShortDialImageSize - 1};

class ShortDialsWriteHandler final : public BlockHandler
{
public:
    [[nodiscard]] uint16_t progressDenominator() const override { return 1702; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const ExchangeConfig &config = context.config();
        return writeReaction(byte, context, WriteFrame,
            [&config](int32_t k) { return shortDialImageByte(config, k); });
    }
};

class ShortDialsReadHandler final : public BlockHandler
{
public:
    // Six events short of a complete read: the bar stands at 100 for the last ten.
    [[nodiscard]] uint16_t progressDenominator() const override { return 848; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        ExchangeConfig &config = context.config();
        const BlockResult result = readReaction(byte, context, ReadFrame,
            [&config](int32_t k, uint8_t b) { storeShortDialImageByte(config, k, b); });
        // The page shows the table as it arrives.
        if (result == BlockResult::Continue)
            context.observer().valuesStored(ConfigBlock::ShortDials);
        return result;
    }
};

} // namespace

std::unique_ptr<BlockHandler> makeShortDialsWriteHandler()
{
    return std::make_unique<ShortDialsWriteHandler>();
}

std::unique_ptr<BlockHandler> makeShortDialsReadHandler()
{
    return std::make_unique<ShortDialsReadHandler>();
}

} // namespace ornis
