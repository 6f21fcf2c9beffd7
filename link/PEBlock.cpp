#include "BlockHandlers.h"
#include "DialSlots.h"
#include "Framing.h"
#include "TransferObserver.h"

namespace ornis {

namespace {

// Block address 0x660; image bytes 0..799.
constexpr BlockFrame WriteFrame {0x60, 0x86, 0, PEImageSize};
constexpr BlockFrame ReadFrame {0x60, 0x86, 0, PEImageSize - 1};

class PEWriteHandler final : public BlockHandler
{
public:
    [[nodiscard]] uint16_t progressDenominator() const override { return 1606; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const ExchangeConfig &config = context.config();
        return writeReaction(
            byte, context, WriteFrame, [&config](int32_t k) { return peImageByte(config, k); });
    }
};

class PEReadHandler final : public BlockHandler
{
public:
    [[nodiscard]] uint16_t progressDenominator() const override { return 806; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        ExchangeConfig &config = context.config();
        const BlockResult result = readReaction(byte, context, ReadFrame,
            [&config](int32_t k, uint8_t b) { storePEImageByte(config, k, b); });
        // The page shows the records as they arrive.
        if (result == BlockResult::Continue)
            context.observer().valuesStored(ConfigBlock::PE);
        return result;
    }
};

} // namespace

std::unique_ptr<BlockHandler> makePEWriteHandler()
{
    return std::make_unique<PEWriteHandler>();
}

std::unique_ptr<BlockHandler> makePEReadHandler()
{
    return std::make_unique<PEReadHandler>();
}

} // namespace ornis
