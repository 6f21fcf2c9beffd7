#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace ornis {

// The first key that a JSON object of `json` holds twice, named as the JSON form names
// keys ("Services[2].AlarmOnce"); nothing when every object's keys are distinct. A JSON
// reader keeps one of the two values without a word, so the form looks before it reads.
// `json` should be valid JSON; anything else gives no wrong access, only no useful answer.
[[nodiscard]] std::optional<QString> firstDuplicateKey(const QByteArray &json);

} // namespace ornis
