#pragma once

#include <QString>
#include <QStringList>

namespace ornis {

// The settings files last opened or saved, newest first, at most `Capacity`, each once.
// Kept in a small file of their own in the user's configuration folder, never in the
// preferences file, which keeps its fixed layout.
class RecentFiles
{
public:
    static constexpr int Capacity = 8;

    // Reads the list from `storagePath`; an empty path keeps the list for this run only.
    explicit RecentFiles(QString storagePath);

    [[nodiscard]] const QStringList &paths() const { return paths_; }
    // `path` becomes the newest entry.
    void add(const QString &path);
    void remove(const QString &path);

private:
    void store() const;

    const QString storagePath_;
    QStringList paths_;
};

} // namespace ornis
