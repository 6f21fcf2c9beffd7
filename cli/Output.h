#pragma once

#include "common/Comparison.h"
#include "common/ConfigFiles.h"
#include "config/Blocks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

// What the tool tells its user: results on stdout, messages and warnings on stderr.

namespace ornis::cli {

void printMessage(const std::string &message);
void printMessage(const QString &message);
void printWarning(const QString &message);
// "Warning: " and the message, as printWarning prints it.
[[nodiscard]] QString warningLine(const QString &message);
// Writes to stdout; a failure (a full disk behind a redirection) is kept for outputFailure().
void printOut(const QByteArray &bytes);
// Why stdout could not be written; empty while it could.
[[nodiscard]] QString outputFailure();

// Prints `lines` to stderr, the first ListedAtMost of them, then "… and N more".
void printList(const QStringList &lines);

// Warns about the blocks `output`, a file of `kind` written from `blocks` of a configuration
// of `model`, shows at their factory values; and, unless it is a report, about what it does
// not keep. `withModel`: the configuration came with its model and modules, which only the
// JSON form keeps.
void warnAboutKeeping(
    const QString &output, BlockSet blocks, FileKind kind, int32_t model, bool withModel = false);

// The differences as a table on stdout, one line each, tab-separated: block, item, the
// value on the left, the value on the right; under a heading that names both sides. No
// difference: a line that says so.
void printDifferences(
    const std::vector<Difference> &differences, const QString &left, const QString &right);

// A value in one cell of such a table: no tab or line break inside, an empty value as "".
[[nodiscard]] QString tableCell(const QString &value);

// A message of the link, whose texts are Windows-1250 bytes.
[[nodiscard]] QString linkText(const std::string &message);

} // namespace ornis::cli
