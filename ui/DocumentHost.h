#pragma once

#include "config/Blocks.h"

#include <QString>
#include <functional>

class QWidget;

namespace ornis {

class ConfigEditor;
class UserDialogs;

// What the file and print actions need of the window: the configuration and the edits its
// pages still hold, the settings file it came from, and the dialogs to ask and tell with.
class DocumentHost
{
public:
    virtual ~DocumentHost() = default;

    [[nodiscard]] virtual const ExchangeConfig &config() const = 0;
    // The one way to change the configuration.
    [[nodiscard]] virtual ConfigEditor &editor() = 0;
    // Commit the edits of the short-dial and PE pages into the configuration.
    virtual void StoreShortDialPage() = 0;
    virtual void StorePEPage() = 0;
    // Before the configuration is replaced: edits neither saved nor written nor backed up
    // go into a backup. A failure is shown.
    virtual void backUpUnsavedEdits() = 0;
    // Runs an action that replaces the configuration: at once while idle, else once the
    // running transfer is ended, if the user agrees to end it.
    virtual void runWhenIdle(std::function<void()> action) = 0;
    // The configuration's `blocks` as they are now are kept in a file.
    virtual void markConfigKept(BlockSet blocks = BlockSet::all()) = 0;
    // The folder of the automatic backups; empty when none are kept.
    [[nodiscard]] virtual QString backupPath() const = 0;

    // The settings file last loaded or saved; empty until then.
    [[nodiscard]] virtual const QString &FileName() const = 0;
    virtual void setFileName(const QString &path) = 0;

    [[nodiscard]] virtual UserDialogs &dialogs() = 0;
    // The window the dialogs belong to.
    [[nodiscard]] virtual QWidget *dialogParent() = 0;
};

} // namespace ornis
