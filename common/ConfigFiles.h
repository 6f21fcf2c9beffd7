#pragma once

#include "config/Status.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The files the command line reads and writes: settings files (.set), the JSON form
// (.json) and the report as plain text (.txt).

namespace ornis {

struct ExchangeConfig;

enum class FileKind { Settings, Json, Report };

// By the name's extension, in any case.
[[nodiscard]] std::optional<FileKind> fileKindOf(const QString &path);

// A configuration from a settings file or a JSON form, over the factory values; `config`
// changes only when the whole file was read.
[[nodiscard]] Status loadConfigFile(const QString &path, FileKind kind, ExchangeConfig &config);

// Writes the whole file or nothing: a file of that name stays as it was on any failure.
[[nodiscard]] Status saveConfigFile(
    const QString &path, FileKind kind, const ExchangeConfig &config);

// The report as UTF-8 text, pages separated by a form feed, dated now.
[[nodiscard]] Status reportText(const ExchangeConfig &config, QByteArray &text);

} // namespace ornis
