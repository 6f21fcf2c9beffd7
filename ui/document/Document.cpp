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
{
    connect(&editor_->history(), &QUndoStack::cleanChanged, this,
        [this](bool clean) { emit unsavedChanged(!clean); });
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
    // Whatever the name does not mark as the JSON form is read as a settings file.
    const bool json = fileKindOf(absolute) == FileKind::Json;
    // Read whole before anything changes, so that a damaged file leaves no backup behind.
    ExchangeConfig loaded;
    BlockSet held;
    const Status status
        = loadConfigFile(absolute, json ? FileKind::Json : FileKind::Settings, loaded, held);
    if (!status.ok())
        return status;
    backUpUnsavedEdits();
    // Only the JSON form holds the exchange model and modules; a settings file leaves them,
    // and the services, as they are. What the window held before is in a backup: its edits
    // are no longer undone.
    editor_->startHistory(loaded, held, json);
    markKept();
    // "Uložit" writes a settings file: after a JSON form it asks for a name.
    setFileName(json ? QString() : absolute);
    return Status::success();
}

Status Document::save(const QString &path)
{
    commitTypedEdits();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const BlockSet held = blocksKeptIn(FileKind::Settings);
    const Status status = saveConfigFile(absolute, FileKind::Settings, config(), held);
    if (!status.ok())
        return status;
    markKept(held);
    setFileName(absolute);
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

BlockSet Document::unsavedBlocks() const
{
    return differingBlocks(kept_, config(), BlockSet::all());
}

Status Document::storeUnsavedEdits()
{
    commitTypedEdits();
    if (unsavedBlocks().empty())
        return Status::success();
    QString stored;
    const Status status
        = backups_.store(config(), clock_.now(), QStringLiteral("neulozeno"), stored);
    if (!stored.isEmpty())
        markKept();
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
