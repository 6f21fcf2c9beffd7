#pragma once

#include "RecentFiles.h"
#include "config/Status.h"

#include <QObject>
#include <QString>

namespace ornis {

class Document;
class FileChooser;
struct MainActions;

// Open, save and save as of the settings file or the whole configuration in the JSON
// form, with the files dropped on the window and the list of files last used, and the
// opening of a backup. A file is applied only when all of it was read.
class FileActions final : public QObject
{
    Q_OBJECT

public:
    // The recent files are kept in `recentFilesPath` (empty: for this run only).
    FileActions(Document &document, const MainActions &actions, FileChooser &chooser,
        const QString &recentFilesPath, QObject *parent);

    // acOpen, acSave, acSaveAs. The type of a file saved follows its name's suffix
    // (".set" or ".json"); a name with neither gets that of the type chosen.
    void open();
    void save();
    void saveAs();
    // acOpenBackup: the open dialog in the backups folder.
    void openBackup();
    // Loads `path` as acOpen does once its dialog named it (a drop, a recent file): a
    // settings file, or a configuration in the JSON form with every block it holds. A
    // running transfer is ended first, if the user agrees.
    void load(const QString &path);

private:
    void loadNow(const QString &path);
    void saveTo(const QString &path);
    void report(const Status &status);
    void remember(const QString &path);
    void showRecentFiles();
    void openRecent(int index);

    Document &document_;
    const MainActions &actions_;
    FileChooser &chooser_;
    RecentFiles recent_;
};

} // namespace ornis
