#include "MainPages.h"

namespace ornis {

std::optional<Block> blockOfPage(MainPage page)
{
    return blockOnPage(int(page));
}

std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction)
{
    if (pageIndex == WholeTransferPage)
        return wholeTransfer(direction);
    if (const std::optional<Block> block = blockOnPage(pageIndex))
        return transferModeOf(*block, direction);
    return std::nullopt;
}

std::optional<Block> blockReadIn(TransferMode mode)
{
    return isRead(mode) ? blockOfMode(mode) : std::nullopt;
}

bool writesServices(TransferMode mode)
{
    return mode == TransferMode::ServicesWrite || mode == TransferMode::AllWrite;
}

} // namespace ornis
