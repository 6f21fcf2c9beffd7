#pragma once

#include "config/Status.h"

#include <QByteArray>

// The JSON form of the whole configuration: one flat UTF-8 object whose keys are the
// model's field names ("ExtensionGrid", "Services", "ShortDialTable"...). Texts are the
// Windows-1250 texts as Unicode.

namespace ornis {

struct ExchangeConfig;

[[nodiscard]] Status configToJson(const ExchangeConfig &config, QByteArray &json);

// Reads a JSON form over the factory values, so a missing key keeps its factory value.
// A key of the wrong type, size or range, an unknown key, or a character Windows-1250
// cannot hold fails naming the key, and `config` is left as it was.
[[nodiscard]] Status configFromJson(const QByteArray &json, ExchangeConfig &config);

} // namespace ornis
