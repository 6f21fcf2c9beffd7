#pragma once

#include "link/BlockTable.h"

#include <optional>

// The pages of `pcMain` in their fixed order, and which transfer each page starts.

namespace ornis {

enum class MainPage {
    Setup = WholeTransferPage,
    Setting = blockInfo(Block::Settings).page,
    Services = blockInfo(Block::Services).page,
    ShortDials = blockInfo(Block::ShortDials).page,
    PE = blockInfo(Block::PE).page,
};
inline constexpr int MainPageCount = 5;

// The block a page shows; nothing for the page "Konfigurace", which shows them all.
[[nodiscard]] std::optional<Block> blockOfPage(MainPage page);

// The mode that a read or write from page `pageIndex` starts; nothing for no page.
[[nodiscard]] std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction);

// The block that a read in `mode` stores into the configuration; nothing for the modes
// that store nothing.
[[nodiscard]] std::optional<Block> blockReadIn(TransferMode mode);

// The transfer writes the services block, alone or as part of the whole configuration.
[[nodiscard]] bool writesServices(TransferMode mode);

} // namespace ornis
