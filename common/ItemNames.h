#pragma once

#include "config/ConfigFields.h"

#include <QString>

// How the window names each value of the configuration, and how it shows the value: the
// texts of a comparison.

namespace ornis {

struct ExchangeConfig;

// "Pobočka 23, Přesměrování", "Zkrácená volba 815, číslo", "G6 J, pobočka 21".
[[nodiscard]] QString itemName(const FieldRef &ref);

// The value as the window shows it: "X", "0-9n", "vyp", "31", "07:45", "ano"; an empty
// grid cell or list without a choice is empty, and a value without a text of its own
// (a byte outside its cell's values) is its number.
[[nodiscard]] QString valueText(const ExchangeConfig &config, const FieldRef &ref);

} // namespace ornis
