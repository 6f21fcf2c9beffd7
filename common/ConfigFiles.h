#pragma once

#include "config/Blocks.h"
#include "config/Status.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The files a configuration is kept in: settings files (.set), the JSON form (.json) and
// the report as plain text (.txt).

namespace ornis {

struct ExchangeConfig;

enum class FileKind { Settings, Json, Report };

// By the name's extension, in any case.
[[nodiscard]] std::optional<FileKind> fileKindOf(const QString &path);

// The blocks a file of `kind` can keep: the JSON form all of them, a settings file all but
// the services, the report the settings and the short dials. Only the JSON form keeps the
// exchange model and modules.
[[nodiscard]] BlockSet blocksKeptIn(FileKind kind);

// A configuration from a settings file or a JSON form, over the factory values, and the
// blocks the file holds. `config` and `blocks` change only when the whole file was read;
// a failure names the file ("Stream read error: backup.set").
[[nodiscard]] Status loadConfigFile(
    const QString &path, FileKind kind, ExchangeConfig &config, BlockSet &blocks);

// Writes `blocks` of `config`, as far as a file of `kind` keeps them, and the whole file or
// nothing: a file of that name stays as it was on any failure. A settings file refusing a
// day or night start that holds no time names the key ("DayStart: '25:00' is not ...").
[[nodiscard]] Status saveConfigFile(
    const QString &path, FileKind kind, const ExchangeConfig &config, BlockSet blocks);

// Whether a file can be created at `path` (or replaced there): its folder exists and is
// writable, and it is no folder itself. Fails with "Cannot create file %s" and why.
[[nodiscard]] Status canCreateFile(const QString &path);

// All bytes of a file, at most MaxFileBytes; fails as readFileBytes ("Cannot open file %s:
// No such file or directory").
[[nodiscard]] Status readWholeFile(const QString &path, QByteArray &bytes);
// The whole file or nothing: a file of that name stays as it was on any failure, which
// names the file and the system's reason ("Cannot create file %s: No space left on device").
[[nodiscard]] Status writeWholeFile(const QString &path, const QByteArray &bytes);

// The report as UTF-8 text, pages separated by a form feed, dated now.
[[nodiscard]] Status reportText(const ExchangeConfig &config, QByteArray &text);

} // namespace ornis
