#pragma once

#include "link/BlockTable.h"

#include <QString>
#include <array>
#include <optional>

// The pages of `pcMain` in their fixed order, and which transfer each page starts.

namespace ornis {

enum class MainPage { Setup, Setting, Services, ShortDials, PE };
inline constexpr int MainPageCount = 5;

struct MainPageInfo
{
    MainPage page;
    const char *name; // the page's control, "tsSetting"
    const char *buttons; // what its buttons' names end in: btReceiveSetting
    // The block the page shows; none for "Konfigurace", which shows them all.
    std::optional<Block> block;
};

// In page order.
inline constexpr std::array<MainPageInfo, MainPageCount> MainPageTable {{
    {MainPage::Setup, "tsSetup", "All", std::nullopt},
    {MainPage::Setting, "tsSetting", "Setting", Block::Settings},
    {MainPage::Services, "tsServices", "Services", Block::Services},
    {MainPage::ShortDials, "tsShortDials", "ShortDials", Block::ShortDials},
    {MainPage::PE, "tsPE", "PE", Block::PE},
}};

[[nodiscard]] constexpr const MainPageInfo &pageInfo(MainPage page)
{
    return MainPageTable[std::size_t(page)];
}

// The block a page shows; nothing for the page "Konfigurace", which shows them all.
[[nodiscard]] constexpr std::optional<Block> blockOfPage(MainPage page)
{
    return pageInfo(page).block;
}

// The page that shows `block`.
[[nodiscard]] constexpr MainPage pageOfBlock(Block block)
{
    for (const MainPageInfo &info : MainPageTable) {
        if (info.block == block)
            return info.page;
    }
    return MainPage::Setup;
}

// The tab's caption: the name of the block the page shows, "Konfigurace" for them all.
[[nodiscard]] QString pageCaption(MainPage page);

// The mode that a read or write from page `pageIndex` starts; nothing for no page.
[[nodiscard]] std::optional<TransferMode> transferModeFor(int pageIndex, Direction direction);

// The transfer writes the services block, alone or as part of the whole configuration.
[[nodiscard]] bool writesServices(TransferMode mode);

} // namespace ornis
