#include "BlockHandlers.h"
#include "DialSlots.h"
#include "Framing.h"
#include "TransferObserver.h"

// The short-dial and PE tables travel alike: one contiguous image of 8-byte slots. They
// differ only in address, size, slot order and progress denominators.

namespace ornis {

namespace {

struct DialTable
{
    uint8_t addressLow;
    uint8_t addressHigh;
    int32_t imageSize;
    uint16_t writeDenominator;
    uint16_t readDenominator;
    std::optional<uint8_t> (*imageByte)(const ExchangeConfig &, int32_t);
    void (*storeImageByte)(ExchangeConfig &, int32_t, uint8_t, const StoredRangeCallback &);
};

// Block address 0x200, image bytes 0..847. The read's denominator is six events short of
// a complete read, so the bar stands at 100 for its last ten events.
constexpr DialTable ShortDials {
    0x00, 0x82, ShortDialImageSize, 1702, 848, shortDialImageByte, storeShortDialImageByte};
// Block address 0x660, image bytes 0..799.
constexpr DialTable PERecords {0x60, 0x86, PEImageSize, 1606, 806, peImageByte, storePEImageByte};

class DialTableWriteHandler final : public BlockHandler
{
public:
    explicit DialTableWriteHandler(const DialTable &table)
        : table_(table)
    {
    }

    [[nodiscard]] uint16_t progressDenominator() const override { return table_.writeDenominator; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const BlockFrame frame {table_.addressLow, table_.addressHigh, 0, table_.imageSize};
        const ExchangeConfig &config = context.config();
        return writeReaction(
            byte, context, frame, [&](int32_t k) { return table_.imageByte(config, k); });
    }

private:
    const DialTable &table_;
};

class DialTableReadHandler final : public BlockHandler
{
public:
    explicit DialTableReadHandler(const DialTable &table)
        : table_(table)
    {
    }

    [[nodiscard]] uint16_t progressDenominator() const override { return table_.readDenominator; }

    BlockResult onByte(uint8_t byte, BlockContext &context) override
    {
        const BlockFrame frame {table_.addressLow, table_.addressHigh, 0, table_.imageSize - 1};
        ExchangeConfig &config = context.config();
        TransferObserver &observer = context.observer();
        const StoredRangeCallback stored
            = [&observer](const FieldRange &range) { observer.valuesStored(range); };
        return readReaction(byte, context, frame,
            [&](int32_t k, uint8_t b) { table_.storeImageByte(config, k, b, stored); });
    }

private:
    const DialTable &table_;
};

} // namespace

std::unique_ptr<BlockHandler> makeShortDialsWriteHandler()
{
    return std::make_unique<DialTableWriteHandler>(ShortDials);
}

std::unique_ptr<BlockHandler> makeShortDialsReadHandler()
{
    return std::make_unique<DialTableReadHandler>(ShortDials);
}

std::unique_ptr<BlockHandler> makePEWriteHandler()
{
    return std::make_unique<DialTableWriteHandler>(PERecords);
}

std::unique_ptr<BlockHandler> makePEReadHandler()
{
    return std::make_unique<DialTableReadHandler>(PERecords);
}

} // namespace ornis
