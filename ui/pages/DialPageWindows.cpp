#include "DialPageWindows.h"

#include "config/ChoiceLists.h"
#include "config/Numbering.h"

#include <array>
#include <cstdio>

namespace ornis {

namespace {

constexpr std::array<const char *, DialTabCount> ShortDialTabs {
    "810-819", "820-839", "840-859", "860-879", "880-899"};
constexpr std::array<const char *, DialTabCount> PETabs {
    "PIN 20-39", "LCR 20-59", "LCR 30-69", "LCR 40-79", "PE 80-89"};

// The first record of each panel, tab by tab. The first short-dial tab shows ten records
// only; the PE tabs show two runs of ten that need not follow each other.
struct PanelStarts
{
    int left;
    int right;
};
constexpr std::array<PanelStarts, DialTabCount> ShortDialPanels {
    {{0, -1}, {10, 20}, {30, 40}, {50, 60}, {70, 80}}};
constexpr std::array<PanelStarts, DialTabCount> PEPanels {
    {{0, 10}, {20, 50}, {30, 60}, {40, 70}, {80, 90}}};

const PanelStarts *panelsOf(DialTable table, int tab)
{
    if (tab < 0 || tab >= DialTabCount)
        return nullptr;
    const auto &panels = table == DialTable::ShortDials ? ShortDialPanels : PEPanels;
    return &panels[std::size_t(tab)];
}

} // namespace

std::span<const char *const> dialTabCaptions(DialTable table)
{
    if (table == DialTable::ShortDials)
        return ShortDialTabs;
    return PETabs;
}

std::span<const char *const> dialLines(DialTable table)
{
    return table == DialTable::ShortDials ? shortDialLines() : peLines();
}

int dialRowsShown(DialTable table, int tab)
{
    const PanelStarts *panels = panelsOf(table, tab);
    if (!panels)
        return 0;
    return panels->right < 0 ? DialPanelRowCount : DialRowCount;
}

std::optional<int> dialRecordAt(DialTable table, int tab, int row)
{
    if (row < 0 || row >= dialRowsShown(table, tab))
        return std::nullopt;
    const PanelStarts &panels = *panelsOf(table, tab);
    if (row < DialPanelRowCount)
        return panels.left + row;
    return panels.right + row - DialPanelRowCount;
}

std::string dialRowLabel(DialTable table, int record)
{
    char label[16];
    if (table == DialTable::ShortDials)
        std::snprintf(label, sizeof label, "%d:", FirstShortDial + record);
    else
        std::snprintf(label, sizeof label, "%02d:", record);
    return label;
}

} // namespace ornis
