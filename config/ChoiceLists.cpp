#include "ChoiceLists.h"

#include "Numbering.h"

#include <array>

namespace ornis {

namespace {
constexpr std::array<const char *, 3> Models {"MIRA", "VEGA", "VEGA X"};
constexpr std::array<const char *, 10> G7 {
    "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M0"};
constexpr std::array<const char *, 17> Fax {"vyp", "21", "22", "23", "24", "25", "26", "27", "28",
    "31", "32", "33", "34", "35", "36", "37", "38"};
constexpr std::array<const char *, 6> ShortDialLines {"vyp", "0", "91", "92", "93", "94"};
constexpr std::array<const char *, 7> PELines {"vyp", "0", "91", "92", "93", "94", "95"};
constexpr std::array<const char *, 4> Conditions {"53", "54", "55", "56"};
} // namespace

std::span<const char *const> modelNames()
{
    return Models;
}
std::span<const char *const> g7Choices()
{
    return G7;
}
std::span<const char *const> faxChoices()
{
    return Fax;
}
std::span<const char *const> shortDialLines()
{
    return ShortDialLines;
}
std::span<const char *const> peLines()
{
    return PELines;
}
std::span<const char *const> redirectConditions()
{
    return Conditions;
}

std::string listText(std::span<const char *const> list, int index)
{
    if (index < 0 || std::size_t(index) >= list.size())
        return {};
    return list[std::size_t(index)];
}

std::string serviceItemText(int owner, int item, bool withLines)
{
    if (item == 0)
        return "vyp";
    if (item >= 1 && item < RedirectItemCount)
        return std::to_string(extensionNumber(serviceTargetOf(owner, item)));
    if (withLines && item >= FirstBackRingLineItem && item < BackRingItemCount)
        return std::to_string(lineNumber(item - FirstBackRingLineItem));
    return {};
}

} // namespace ornis
