// Any bytes given to the reader of a list of sites, a file people write by hand or export
// from a spreadsheet: it must never fail badly, and a list it accepts names every site by a
// name that is a folder of its own (and a trace's name) the file system takes, with a port.

#include "cli/SiteList.h"

#include <QSet>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis::cli;
    const SiteList list
        = readSiteList(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!list.errors.isEmpty())
        return 0;
    if (list.sites.empty())
        std::abort(); // a list accepted names sites
    QSet<QString> folders;
    int line = 0;
    for (const Site &site : list.sites) {
        const QString &name = site.name;
        bool control = false;
        for (const QChar c : name)
            control = control || c.category() == QChar::Other_Control;
        if (name.isEmpty() || name == "." || name == ".." || name.contains('/')
            || name.contains('\\') || control || name.toUtf8().size() > MaxSiteNameBytes
            || site.port.isEmpty() || site.line <= line)
            std::abort();
        line = site.line;
        folders.insert(name.toCaseFolded());
    }
    if (folders.size() != qsizetype(list.sites.size()))
        std::abort(); // two sites would share a folder
    return 0;
}
