#pragma once

#include <cstdint>
#include <span>
#include <string>

// The entries of the program's fixed choice lists. A model field holds the index of its
// entry; these are the texts the pages, the report and the exports show for it.

namespace ornis {

// Exchange models: "MIRA", "VEGA", "VEGA X".
[[nodiscard]] std::span<const char *const> modelNames();
// G7 choices U1..U4: "M1".."M9", "M0".
[[nodiscard]] std::span<const char *const> g7Choices();
// G5 fax/modem extension: "vyp", "21".."28", "31".."38".
[[nodiscard]] std::span<const char *const> faxChoices();
// Line of a short dial: "vyp", "0", "91".."94".
[[nodiscard]] std::span<const char *const> shortDialLines();
// Line of a PE record: "vyp", "0", "91".."95".
[[nodiscard]] std::span<const char *const> peLines();
// Condition of a redirection: "53".."56".
[[nodiscard]] std::span<const char *const> redirectConditions();

// The text of entry `index` of `list`, empty when the index has no entry (-1, or beyond
// the end).
[[nodiscard]] std::string listText(std::span<const char *const> list, int index);

// Services lists of an extension leave the extension itself out: item 0 is "vyp", items
// 1..15 the other fifteen extensions in ascending order; the call-back list adds the
// lines 91..94 as items 16..19.
inline constexpr int RedirectItemCount = 16;
inline constexpr int BackRingItemCount = 20;
inline constexpr int FirstBackRingLineItem = 16;

// Item `item` of a call-back list is one of the lines 91..94.
[[nodiscard]] constexpr bool isLineCallBack(int64_t item)
{
    return item >= FirstBackRingLineItem && item < BackRingItemCount;
}

// Item index of target extension `target` in the lists of extension `owner` (both
// extension indexes, target != owner).
[[nodiscard]] constexpr int serviceItemOf(int owner, int target)
{
    return target < owner ? target + 1 : target;
}
// Extension index named by item 1..15 in the lists of extension `owner`.
[[nodiscard]] constexpr int serviceTargetOf(int owner, int item)
{
    return item - 1 < owner ? item - 1 : item;
}
// Text of item `item` of the call-back (`withLines`) or redirection list of `owner`.
[[nodiscard]] std::string serviceItemText(int owner, int item, bool withLines);

} // namespace ornis
