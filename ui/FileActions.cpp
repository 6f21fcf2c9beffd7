#include "FileActions.h"

#include "common/ConfigFiles.h"
#include "common/FilePath.h"
#include "config/SettingsFile.h"
#include "ui/MainForm.h"
#include "ui/editing/ConfigEditor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>

namespace ornis {

namespace {

const QString SettingsSuffix = QStringLiteral("set");
// Wide enough for a deep path in the menu; the middle of a longer one is left out.
constexpr int RecentFileTextWidth = 420; // pixels

QString messageOf(const Status &status)
{
    return QString::fromStdString(status.message());
}

} // namespace

FileActions::FileActions(
    TMainForm &window, UserDialogs &dialogs, QString startFolder, const QString &recentFilesPath)
    : QObject(&window)
    , window_(window)
    , dialogs_(dialogs)
    , startFolder_(std::move(startFolder))
    , recent_(recentFilesPath)
{
    const MainActions &actions = window_.actions();
    connect(actions.acOpen, &QAction::triggered, this, &FileActions::open);
    connect(actions.acSave, &QAction::triggered, this, &FileActions::save);
    connect(actions.acSaveAs, &QAction::triggered, this, &FileActions::saveAs);
    connect(actions.acOpenBackup, &QAction::triggered, this, &FileActions::openBackup);
    for (int i = 0; i < MainActions::RecentFileCount; ++i)
        connect(actions.acRecentFiles[std::size_t(i)], &QAction::triggered, this,
            [this, i] { openRecent(i); });
    showRecentFiles();
}

FileDialogSetup FileActions::dialogSetup(FileDialogSetup::Kind kind) const
{
    const QString title = kind == FileDialogSetup::Kind::Open ? QStringLiteral("Otevřít")
                                                              : QStringLiteral("Uložit jako");
    return {
        kind, title, startFolder_, QStringLiteral("Soubory nastavení (*.set)"), SettingsSuffix};
}

void FileActions::open()
{
    dialogs_.chooseFile(
        &window_, dialogSetup(FileDialogSetup::Kind::Open), [this](const QString &path) {
            // "name" typed for "name.set"; a file really named so wins.
            load(QFileInfo::exists(path) ? path : withDefaultSuffix(path, SettingsSuffix));
        });
}

void FileActions::openBackup()
{
    const FileDialogSetup setup {FileDialogSetup::Kind::Open, QStringLiteral("Otevřít zálohu"),
        window_.backups().path(), QStringLiteral("Zálohy konfigurace (*.json)"),
        QStringLiteral("json")};
    dialogs_.chooseFile(&window_, setup, [this](const QString &path) { load(path); });
}

void FileActions::load(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool json = fileKindOf(absolute) == FileKind::Json;
    const Status status = json ? loadJsonForm(absolute) : loadSettingsFile(absolute);
    if (!status.ok()) {
        dialogs_.showError(&window_, messageOf(status));
        if (!QFileInfo::exists(absolute)) {
            recent_.remove(absolute);
            showRecentFiles();
        }
        return;
    }
    window_.RefreshAllViews();
    window_.cbCentralTypeChange();
    window_.markConfigKept();
    // What the window held before is in a backup; its edits are no longer undone.
    window_.editor().startHistory();
    // "Uložit" writes a settings file: after a JSON form it asks for a name.
    window_.setFileName(json ? QString() : absolute);
    remember(absolute);
}

Status FileActions::loadSettingsFile(const QString &path)
{
    // Read whole before anything changes, so that a damaged file leaves no backup behind.
    ExchangeConfig loaded = window_.config();
    if (Status status = LoadSettingsFile(toFilePath(path), loaded); !status.ok())
        return status;
    window_.backUpUnsavedEdits();
    // Neither the exchange model nor the services are in the file; they stay as they are.
    copyBlocks(loaded, window_.config(), SettingsFileBlocks);
    return Status::success();
}

Status FileActions::loadJsonForm(const QString &path)
{
    ExchangeConfig loaded;
    BlockSet held;
    if (Status status = loadConfigFile(path, FileKind::Json, loaded, held); !status.ok())
        return status;
    window_.backUpUnsavedEdits();
    ExchangeConfig &config = window_.config();
    copyBlocks(loaded, config, held);
    config.ExchangeType = loaded.ExchangeType;
    config.ExchangeModules = loaded.ExchangeModules;
    return Status::success();
}

void FileActions::save()
{
    if (window_.FileName().isEmpty())
        saveAs();
    else
        saveTo(window_.FileName());
}

void FileActions::saveAs()
{
    dialogs_.chooseFile(&window_, dialogSetup(FileDialogSetup::Kind::Save),
        [this](const QString &path) { saveTo(withDefaultSuffix(path, SettingsSuffix)); });
}

void FileActions::saveTo(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Written whole through a new file renamed over the old one: a failure leaves the
    // old file as it was.
    const Status status = SaveSettingsFile(toFilePath(absolute), window_.config());
    if (!status.ok()) {
        dialogs_.showError(&window_, messageOf(status));
        return;
    }
    // The services are not in the file: their edits are still to be kept.
    window_.markConfigKept(SettingsFileBlocks);
    window_.editor().markSaved();
    window_.setFileName(absolute);
    remember(absolute);
}

void FileActions::remember(const QString &path)
{
    recent_.add(path);
    showRecentFiles();
}

void FileActions::showRecentFiles()
{
    const MainActions &actions = window_.actions();
    const QStringList &paths = recent_.paths();
    const QFontMetrics metrics(window_.font());
    for (int i = 0; i < MainActions::RecentFileCount; ++i) {
        QAction *action = actions.acRecentFiles[std::size_t(i)];
        action->setVisible(i < paths.size());
        if (i >= paths.size())
            continue;
        const QString shown = QDir::toNativeSeparators(paths[i]);
        QString text = metrics.elidedText(shown, Qt::ElideMiddle, RecentFileTextWidth);
        text.replace(u'&', QStringLiteral("&&"));
        action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(text));
        action->setStatusTip(shown);
    }
    actions.recentFilesSeparator->setVisible(!paths.isEmpty());
}

void FileActions::openRecent(int index)
{
    if (index >= recent_.paths().size())
        return;
    // A copy: loading reorders the list.
    const QString path = recent_.paths()[index];
    load(path);
}

} // namespace ornis
