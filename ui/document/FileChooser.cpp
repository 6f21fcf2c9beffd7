#include "FileChooser.h"

#include "UserSettings.h"

#include <QFileInfo>
#include <array>

namespace ornis {

namespace {

// The names the folders are kept under, in the order of FileUse.
constexpr std::array<const char *, 4> UseKeys {"settings", "backups", "tables", "pdf"};

QString keyOf(FileUse use)
{
    return QLatin1String(UseKeys.at(std::size_t(use)));
}

} // namespace

FileChooser::FileChooser(UserDialogs &dialogs, QWidget *parent, UserSettings &settings,
    QString documents, QString backups)
    : dialogs_(dialogs)
    , parent_(parent)
    , settings_(settings)
    , documents_(std::move(documents))
    , backups_(std::move(backups))
{
}

QString FileChooser::folderOf(FileUse use) const
{
    const QString last = settings_.lastFolder(keyOf(use));
    // A folder removed since falls back to the first one.
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return use == FileUse::Backups ? backups_ : documents_;
}

void FileChooser::choose(
    FileUse use, FileDialogSetup setup, std::function<void(const ChosenFile &)> onChosen)
{
    setup.folder = folderOf(use);
    dialogs_.chooseFile(parent_, setup, [this, use, onChosen](const ChosenFile &file) {
        settings_.setLastFolder(keyOf(use), QFileInfo(file.path).absolutePath());
        onChosen(file);
    });
}

} // namespace ornis
