#pragma once

#include "ui/dialogs/UserDialogs.h"

#include <QString>
#include <functional>

class QWidget;

namespace ornis {

class UserSettings;

// The kinds of file the window's dialogs choose, each remembering its own folder.
enum class FileUse { Settings, Backups, Tables, Pdf };

// The file dialogs of the window: each kind of file starts in the folder a dialog for it
// was last left in, kept in the user's settings across runs; before that, in the folder
// given for it.
class FileChooser
{
public:
    // `documents`: where the dialogs start at first; `backups`: where those of backups do.
    FileChooser(UserDialogs &dialogs, QWidget *parent, UserSettings &settings, QString documents,
        QString backups);

    // Shows the dialog `setup` describes, in the folder of `use`; a file chosen there makes
    // its folder that of `use`.
    void choose(
        FileUse use, FileDialogSetup setup, std::function<void(const ChosenFile &)> onChosen);

private:
    [[nodiscard]] QString folderOf(FileUse use) const;

    UserDialogs &dialogs_;
    QWidget *parent_;
    UserSettings &settings_;
    const QString documents_;
    const QString backups_;
};

} // namespace ornis
