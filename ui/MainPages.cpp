#include "MainPages.h"

#include <array>

namespace ornis {

std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction)
{
    struct Modes
    {
        TransferMode receive;
        TransferMode send;
    };
    static constexpr std::array<Modes, MainPageCount> table{{
        {TransferMode::AllRead, TransferMode::AllWrite},
        {TransferMode::SettingsRead, TransferMode::SettingsWrite},
        {TransferMode::ServicesRead, TransferMode::ServicesWrite},
        {TransferMode::ShortDialsRead, TransferMode::ShortDialsWrite},
        {TransferMode::PERead, TransferMode::PEWrite},
    }};
    if (pageIndex < 0 || pageIndex >= MainPageCount)
        return std::nullopt;
    const Modes &modes = table[std::size_t(pageIndex)];
    return direction == Direction::Receive ? modes.receive : modes.send;
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
