#include "WriteVerification.h"

#include "TransferSteps.h"
#include "link/BlockTable.h"
#include "link/WriteRoundTrip.h"

namespace ornis {

namespace {

// The read of the blocks a write started in `mode` moves: all of them, or the one block.
std::optional<TransferMode> readOf(TransferMode mode)
{
    if (mode == wholeTransfer(Direction::Send))
        return wholeTransfer(Direction::Receive);
    for (const BlockInfo &info : BlockTable) {
        if (mode == info.write)
            return info.read;
    }
    return std::nullopt;
}

} // namespace

void WriteVerification::writeStarting(TransferMode mode, const ExchangeConfig &config)
{
    written_ = config;
    blocks_ = blocksMovedBy(mode, config.ExchangeType);
    readBack_ = readOf(mode);
}

std::optional<TransferMode> WriteVerification::readBackAfter(TransferEnd end)
{
    const std::optional<TransferMode> mode = std::exchange(readBack_, std::nullopt);
    if (end != TransferEnd::Complete || !mode || blocks_.empty())
        return std::nullopt;
    // A copy of what was written: what never travels stays equal.
    exchange_ = written_;
    running_ = true;
    return mode;
}

std::optional<std::vector<Difference>> WriteVerification::finish(TransferEnd end)
{
    running_ = false;
    if (end != TransferEnd::Complete)
        return std::nullopt;
    return compareConfigs(asSentToExchange(written_, blocks_), exchange_, blocks_);
}

} // namespace ornis
