#include "Document.h"

#include "common/ConfigFiles.h"
#include "common/FilePath.h"
#include "config/AppConfigFile.h"
#include "config/ConfigFields.h"
#include "config/FactoryDefaults.h"
#include "link/LocalClock.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/editing/ConfigEditor.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoStack>
#include <array>

namespace ornis {

Document::Document(const DocumentSetup &setup, QObject *parent)
    : QObject(parent)
    , editor_(new ConfigEditor(this))
    , dialogs_(setup.dialogs)
    , dialogParent_(setup.dialogParent)
    , clock_(setup.clock)
    , preferencesPath_(setup.preferencesPath)
    , backups_(setup.backupFolder)
    , kept_(editor_->config())
    , inFile_(editor_->config())
{
    // A step of the history may change values without telling each (a read stored them).
    connect(editor_, &ConfigEditor::valuesChanged, this, &Document::updateUnsaved);
    connect(&editor_->history(), &QUndoStack::indexChanged, this, &Document::updateUnsaved);
}

const ExchangeConfig &Document::config() const
{
    return editor_->config();
}

void Document::commitTypedEdits() const
{
    if (commitTyped_)
        commitTyped_();
}

Status Document::open(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    BlockSet held;
    if (Status status = replaceWith(absolute, held); !status.ok())
        return status;
    markKept();
    markInFile(held);
    setFileName(inBackupFolder(absolute) ? QString() : absolute);
    return Status::success();
}

Status Document::reopenKeptEdits(const QString &path)
{
    BlockSet held;
    if (Status status = replaceWith(QFileInfo(path).absoluteFilePath(), held); !status.ok())
        return status;
    setFileName(QString());
    return Status::success();
}

Status Document::replaceWith(const QString &path, BlockSet &held)
{
    // Whatever the name does not mark as the JSON form is read as a settings file.
    const bool json = fileKindOf(path) == FileKind::Json;
    // Read whole before anything changes, so that a damaged file leaves no backup behind.
    ExchangeConfig loaded;
    const Status status
        = loadConfigFile(path, json ? FileKind::Json : FileKind::Settings, loaded, held);
    if (!status.ok())
        return status;
    backUpUnsavedEdits();
    // Only the JSON form holds the exchange model and modules; a settings file leaves them,
    // and the services, as they are. What the window held before is in a backup: its edits
    // are no longer undone.
    editor_->startHistory(loaded, held, json);
    return Status::success();
}

Status Document::save(const QString &path)
{
    commitTypedEdits();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const FileKind kind
        = fileKindOf(absolute) == FileKind::Json ? FileKind::Json : FileKind::Settings;
    const BlockSet held = blocksKeptIn(kind);
    const Status status = saveConfigFile(absolute, kind, config(), held);
    if (!status.ok())
        return status;
    markInFile(held);
    setFileName(absolute);
    if (blocksInNoFile().contains(Block::Services))
        emit notice(QStringLiteral("Služby se do souboru .set neukládají a zůstávají neuložené: "
                                   "uložte celou konfiguraci (Uložit jako, *.json) nebo je "
                                   "zapište do ústředny."));
    return Status::success();
}

void Document::applyFactoryValues(std::optional<Block> block)
{
    // The factory values of each block, in block order.
    using Reset = void (*)(ExchangeConfig &);
    constexpr std::array<Reset, AllBlocks.size()> BlockResets {
        ResetSettingsBlock, ResetServicesBlock, ResetShortDials, ResetPE};
    ExchangeConfig factory = config();
    (block ? BlockResets.at(std::size_t(*block)) : ResetAll)(factory);
    backUpUnsavedEdits();
    editor_->applyBlocks(factory, block ? BlockSet {*block} : BlockSet::all(),
        block ? QStringLiteral("Přednastavit") : QStringLiteral("Přednastavit vše"));
}

void Document::setFileName(const QString &path)
{
    fileName_ = path;
    editor_->markSaved();
    emit fileNameChanged(path);
}

void Document::markKept(BlockSet blocks)
{
    copyBlocks(config(), kept_, blocks);
}

void Document::markInFile(BlockSet blocks)
{
    markKept(blocks);
    copyBlocks(config(), inFile_, blocks);
    updateUnsaved();
}

BlockSet Document::blocksInNoFile() const
{
    return differingBlocks(inFile_, config(), BlockSet::all());
}

void Document::updateUnsaved()
{
    const bool unsaved = !blocksInNoFile().empty();
    if (unsaved != std::exchange(unsaved_, unsaved))
        emit unsavedChanged(unsaved);
}

bool Document::inBackupFolder(const QString &path) const
{
    return backups_.keepsBackups()
        && QFileInfo(path).absolutePath() == QFileInfo(backups_.path()).absoluteFilePath();
}

BlockSet Document::unsavedBlocks() const
{
    return differingBlocks(kept_, config(), BlockSet::all());
}

Status Document::storeUnsavedEdits(QString *stored)
{
    commitTypedEdits();
    QString path;
    Status status = Status::success();
    if (!unsavedBlocks().empty())
        status = backups_.store(config(), clock_.now(), QStringLiteral("neulozeno"), path);
    if (!path.isEmpty())
        markKept();
    if (stored)
        *stored = path;
    return status;
}

void Document::backUpUnsavedEdits()
{
    if (const Status status = storeUnsavedEdits(); !status.ok())
        dialogs_.showError(dialogParent_, backupFailureText(status));
}

void Document::loadPreferences()
{
    if (preferencesPath_.isEmpty())
        return;
    ExchangeConfig preferences = config();
    LoadAppConfig(toFilePath(preferencesPath_), preferences);
    // A stored index that names no model means no model, here as in the model list.
    if (preferences.ExchangeType < ModelMira || preferences.ExchangeType > ModelVegaX)
        preferences.ExchangeType = ModelNone;
    editor_->setExchangeBlock(preferences);
}

void Document::savePreferences() const
{
    if (preferencesPath_.isEmpty())
        return;
    // The user's configuration folder may not exist yet.
    QDir().mkpath(QFileInfo(preferencesPath_).absolutePath());
    SaveAppConfig(toFilePath(preferencesPath_), config());
}

} // namespace ornis
