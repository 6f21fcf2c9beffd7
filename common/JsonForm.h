#pragma once

#include "config/Blocks.h"
#include "config/Status.h"

#include <QByteArray>

// The JSON form of a configuration: one flat UTF-8 object whose keys are the model's field
// names ("ExtensionGrid", "Services", "ShortDialTable"...). It always holds the exchange
// model and modules, and the blocks that "Blocks" lists ("settings", "services",
// "shortdials", "pe"): all four when that key is absent. Texts are the Windows-1250 texts
// as Unicode.

namespace ornis {

struct ExchangeConfig;

// The form of `blocks` of `config`.
[[nodiscard]] Status configToJson(const ExchangeConfig &config, BlockSet blocks, QByteArray &json);

// Reads a JSON form over the factory values, so a missing key keeps its factory value, and
// tells which blocks it holds. Fails naming the key, leaving `config` and `blocks` as they
// were, for: a key of the wrong type, size or range, an unknown key, a key given twice, a
// key of a block that "Blocks" does not list, a character Windows-1250 cannot hold, a time
// that does not fit its field ("06:00", " 6:00", or "  :  " for none) and a number that no
// dial field holds (at most 14 characters 0-9 and P).
[[nodiscard]] Status configFromJson(
    const QByteArray &json, ExchangeConfig &config, BlockSet &blocks);

} // namespace ornis
