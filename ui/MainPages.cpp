#include "MainPages.h"

#include "common/BlockNames.h"

namespace ornis {

QString pageCaption(MainPage page)
{
    return blockCaption(blockOfPage(page));
}

std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction)
{
    if (pageIndex < 0 || pageIndex >= MainPageCount)
        return std::nullopt;
    const std::optional<Block> block = blockOfPage(MainPage(pageIndex));
    return block ? transferModeOf(*block, direction) : wholeTransfer(direction);
}

bool writesServices(TransferMode mode)
{
    return mode == TransferMode::ServicesWrite || mode == TransferMode::AllWrite;
}

} // namespace ornis
