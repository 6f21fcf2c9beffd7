#pragma once

#include "config/Blocks.h"
#include "config/ExchangeConfig.h"
#include "config/Status.h"
#include "ui/document/BackupFolder.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace ornis {

class ConfigEditor;
class LocalClock;
class UserDialogs;

// What a document is given; all of it outlives the document.
struct DocumentSetup
{
    UserDialogs &dialogs;
    // The window the dialogs belong to; none for a document without a window.
    QWidget *dialogParent;
    const LocalClock &clock;
    // The preferences file; empty keeps no preferences.
    QString preferencesPath;
    // The folder of the automatic backups; empty keeps none.
    QString backupFolder;
};

// The configuration the window holds and what keeps it: the editor, the one way into it;
// the file it was last opened from or saved to; the copy of each block as last in a file,
// against which the window's mark counts edits; the copy of each block as last kept in a
// file, the exchange or a backup, against which edits go into a backup before they are
// replaced; and the preferences file with the model and its modules.
class Document final : public QObject
{
    Q_OBJECT

public:
    explicit Document(const DocumentSetup &setup, QObject *parent = nullptr);

    [[nodiscard]] ConfigEditor &editor() const { return *editor_; }
    [[nodiscard]] const ExchangeConfig &config() const;
    [[nodiscard]] UserDialogs &dialogs() const { return dialogs_; }
    [[nodiscard]] QWidget *dialogParent() const { return dialogParent_; }
    [[nodiscard]] const LocalClock &clock() const { return clock_; }

    // What the views hold typed but not committed yet goes into the configuration through
    // `commit` before anything looks at the configuration (an action, a save, a backup).
    void setTypedEditsCommit(std::function<void()> commit) { commitTyped_ = std::move(commit); }
    void commitTypedEdits() const;

    // An action that replaces the configuration runs through `gate`, which carries it out
    // now, later or never: a running transfer owns the configuration.
    using Gate = std::function<void(std::function<void()> action)>;
    void setChangeGate(Gate gate) { gate_ = std::move(gate); }
    void runWhenIdle(std::function<void()> action) const { gate_(std::move(action)); }

    // The file last opened or saved, a settings file or a JSON form; empty until then, and
    // after a backup was opened (a save then asks for a name: the backups folder removes
    // its oldest files).
    [[nodiscard]] const QString &FileName() const { return fileName_; }
    // Opens `path` read whole: a settings file, or a configuration in the JSON form with
    // every block it holds and the model. Unsaved edits go into a backup first and the
    // opened file starts a new history. A file that cannot be read changes nothing.
    [[nodiscard]] Status open(const QString &path);
    // Opens the backup `path` of edits that closing kept, as the window held them then: a
    // new history, held by no file, named by none.
    [[nodiscard]] Status reopenKeptEdits(const QString &path);
    // Saves `path` whole, as the JSON form when its name ends in ".json", else as a
    // settings file, through a new file renamed over the old one: a failure leaves the old
    // file as it was. A settings file holds no services: edited ones stay held by no file,
    // and the document says so.
    [[nodiscard]] Status save(const QString &path);

    // The factory values of `block`, of every block for none: one step of the history,
    // named as the button that asks for it. Unsaved edits go into a backup first.
    void applyFactoryValues(std::optional<Block> block);

    // The configuration's `blocks` as they are now are kept: in a file, or in the exchange
    // and a backup.
    void markKept(BlockSet blocks = BlockSet::all());
    // The same, and they are in a file.
    void markInFile(BlockSet blocks = BlockSet::all());
    // The blocks holding edits that are in no file: the window's mark shows while any is.
    // The model and the modules are kept in the preferences and never count.
    [[nodiscard]] BlockSet blocksInNoFile() const;
    // The blocks holding edits kept nowhere: in no file, no exchange and no backup. The
    // model and the modules are kept in the preferences and never count.
    [[nodiscard]] BlockSet unsavedBlocks() const;
    // Edits kept nowhere go into a backup, before something replaces them; `stored` names
    // it, or is empty when there was nothing to keep.
    [[nodiscard]] Status storeUnsavedEdits(QString *stored = nullptr);
    // The same, with a failure shown.
    void backUpUnsavedEdits();
    [[nodiscard]] const BackupFolder &backups() const { return backups_; }

    // The model and the modules as the preferences file has them; a file that is missing
    // or cannot be read changes nothing.
    void loadPreferences();
    // Writes the preferences file; a failure is ignored.
    void savePreferences() const;

signals:
    // The file the window names in its caption.
    void fileNameChanged(const QString &path);
    // The window holds edits that are in no file, or none any more.
    void unsavedChanged(bool unsaved);
    // A word for the status bar.
    void notice(const QString &text);

private:
    void setFileName(const QString &path);
    // The configuration from the file `path`, a new history, what it replaces in a backup;
    // `held` names the blocks the file holds.
    [[nodiscard]] Status replaceWith(const QString &path, BlockSet &held);
    [[nodiscard]] bool inBackupFolder(const QString &path) const;
    // Tells the window when its mark changes.
    void updateUnsaved();

    ConfigEditor *editor_;
    UserDialogs &dialogs_;
    QWidget *dialogParent_;
    const LocalClock &clock_;
    const QString preferencesPath_;
    const BackupFolder backups_;
    QString fileName_;
    // Each block as last kept.
    ExchangeConfig kept_;
    // Each block as last in a file, or as the program started.
    ExchangeConfig inFile_;
    bool unsaved_ = false;
    std::function<void()> commitTyped_;
    Gate gate_ = [](std::function<void()> action) { action(); };
};

} // namespace ornis
