#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace ornis {

namespace {

const QString Key = QStringLiteral("RecentFiles/paths");

// The same file under another spelling of its path is the same entry.
bool sameFile(const QString &a, const QString &b)
{
    return a == b || (QFileInfo::exists(a) && QFileInfo(a) == QFileInfo(b));
}

} // namespace

RecentFiles::RecentFiles(QString storagePath)
    : storagePath_(std::move(storagePath))
{
    if (storagePath_.isEmpty())
        return;
    const QSettings stored(storagePath_, QSettings::IniFormat);
    for (const QString &path : stored.value(Key).toStringList()) {
        if (!path.isEmpty() && paths_.size() < Capacity)
            paths_.append(path);
    }
}

void RecentFiles::add(const QString &path)
{
    paths_.removeIf([&path](const QString &known) { return sameFile(known, path); });
    paths_.prepend(path);
    while (paths_.size() > Capacity)
        paths_.removeLast();
    store();
}

void RecentFiles::remove(const QString &path)
{
    if (paths_.removeAll(path) > 0)
        store();
}

void RecentFiles::store() const
{
    if (storagePath_.isEmpty())
        return;
    QSettings stored(storagePath_, QSettings::IniFormat);
    stored.setValue(Key, paths_);
    // Written now: a second window or a crash must not lose the list.
    stored.sync();
}

} // namespace ornis
