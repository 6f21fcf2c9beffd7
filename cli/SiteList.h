#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ornis::cli {

// One exchange of a fleet, as a line of the list of sites gives it.
struct Site
{
    QString name; // the folder of its backups and the name of its trace
    QString port; // as --port takes it
    int32_t model = 0;
    int line = 0; // in the list, for messages
};

// A folder name takes at most 255 bytes on the usual file systems, and the site's trace is
// named NAME.trace.
inline constexpr qsizetype MaxSiteNameBytes = 255 - qsizetype(sizeof(".trace") - 1);

struct SiteList
{
    std::vector<Site> sites;
    QStringList errors; // "line 4: ...", one for each fault; empty for a good list
};

// A list of sites: UTF-8 CSV text whose header row names the columns "name", "port" and,
// optionally, "model" (MIRA when absent or empty), separated by ',' or ';' (whichever the
// header uses first). Lines starting with '#' are comments; blank lines are skipped; a field
// may be quoted ("..." with "" for a quote). Refused, line by line: a name that is empty,
// holds '/', '\' or a control character, is "." or "..", is longer than MaxSiteNameBytes, or
// stands twice (in any case, as folders of some systems compare); an unknown model; an empty
// port.
[[nodiscard]] SiteList readSiteList(const QByteArray &text);

} // namespace ornis::cli
