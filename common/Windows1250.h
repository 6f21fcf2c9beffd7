#pragma once

#include <QString>
#include <optional>
#include <string>

// The model keeps every text as Windows-1250 bytes; the widgets, JSON and the text report
// speak Unicode. Neither direction may lose a character silently.

namespace ornis {

// Nothing when a byte has no Unicode character.
[[nodiscard]] std::optional<QString> fromWindows1250(const std::string &bytes);
// Nothing when a character has no Windows-1250 byte.
[[nodiscard]] std::optional<std::string> toWindows1250(const QString &text);

} // namespace ornis
