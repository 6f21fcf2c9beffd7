#pragma once

#include "config/Blocks.h"

#include <QString>
#include <vector>

// Where two configurations differ, item by item, as the window names and shows the items.

namespace ornis {

struct ExchangeConfig;

struct Difference
{
    QString block; // "Služby"; "Konfigurace" for the model and modules
    QString item; // "Pobočka 23, Přesměrování"
    QString left; // the value in the first configuration, as the window shows it
    QString right;
};

// The items of `blocks`, and the exchange model and modules, whose values differ between
// `left` and `right`, in the order of the pages. Times compare by the time they hold
// ("06:00" is " 6:00").
// To compare with the exchange, read into a copy of `left`: what does not travel (the
// comments) then stays equal.
[[nodiscard]] std::vector<Difference> compareConfigs(
    const ExchangeConfig &left, const ExchangeConfig &right, BlockSet blocks);

} // namespace ornis
