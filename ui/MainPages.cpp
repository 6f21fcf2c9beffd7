#include "MainPages.h"

namespace ornis {

std::optional<Block> blockOfPage(MainPage page)
{
    // The pages after "Konfigurace" show the blocks in block order.
    const int index = int(page) - int(MainPage::Setting);
    if (index < 0 || std::size_t(index) >= AllBlocks.size())
        return std::nullopt;
    return AllBlocks[std::size_t(index)];
}

std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction)
{
    if (pageIndex == int(MainPage::Setup))
        return direction == Direction::Receive ? TransferMode::AllRead : TransferMode::AllWrite;
    if (const std::optional<Block> block = blockOfPage(MainPage(pageIndex)))
        return transferModeOf(*block, direction);
    return std::nullopt;
}

std::optional<ConfigBlock> blockReadIn(TransferMode mode)
{
    switch (mode) {
    case TransferMode::SettingsRead:
    case TransferMode::AllRead:
        return ConfigBlock::Settings;
    case TransferMode::TimesRead:
        return ConfigBlock::DayNightTimes;
    case TransferMode::ServicesRead:
        return ConfigBlock::Services;
    case TransferMode::ShortDialsRead:
        return ConfigBlock::ShortDials;
    case TransferMode::PERead:
        return ConfigBlock::PE;
    default:
        return std::nullopt;
    }
}

bool writesServices(TransferMode mode)
{
    return mode == TransferMode::ServicesWrite || mode == TransferMode::AllWrite;
}

} // namespace ornis
