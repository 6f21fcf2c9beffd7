#include "FileActions.h"

#include "common/FilePath.h"
#include "ui/MainActions.h"
#include "ui/document/Document.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QWidget>

namespace ornis {

namespace {

const QString SettingsSuffix = QStringLiteral("set");
// Wide enough for a deep path in the menu; the middle of a longer one is left out.
constexpr int RecentFileTextWidth = 420; // pixels

} // namespace

FileActions::FileActions(Document &document, const MainActions &actions, QString startFolder,
    const QString &recentFilesPath, QObject *parent)
    : QObject(parent)
    , document_(document)
    , actions_(actions)
    , startFolder_(std::move(startFolder))
    , recent_(recentFilesPath)
{
    connect(actions_.acOpen, &QAction::triggered, this, &FileActions::open);
    connect(actions_.acSave, &QAction::triggered, this, &FileActions::save);
    connect(actions_.acSaveAs, &QAction::triggered, this, &FileActions::saveAs);
    connect(actions_.acOpenBackup, &QAction::triggered, this, &FileActions::openBackup);
    for (int i = 0; i < MainActions::RecentFileCount; ++i)
        connect(actions_.acRecentFiles[std::size_t(i)], &QAction::triggered, this,
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
    document_.dialogs().chooseFile(document_.dialogParent(),
        dialogSetup(FileDialogSetup::Kind::Open), [this](const QString &path) {
            // "name" typed for "name.set"; a file really named so wins.
            load(QFileInfo::exists(path) ? path : withDefaultSuffix(path, SettingsSuffix));
        });
}

void FileActions::openBackup()
{
    const FileDialogSetup setup {FileDialogSetup::Kind::Open, QStringLiteral("Otevřít zálohu"),
        document_.backups().path(), QStringLiteral("Zálohy konfigurace (*.json)"),
        QStringLiteral("json")};
    document_.dialogs().chooseFile(
        document_.dialogParent(), setup, [this](const QString &path) { load(path); });
}

void FileActions::load(const QString &path)
{
    document_.runWhenIdle([this, path] { loadNow(path); });
}

void FileActions::loadNow(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (const Status status = document_.open(absolute); !status.ok()) {
        report(status);
        if (!QFileInfo::exists(absolute)) {
            recent_.remove(absolute);
            showRecentFiles();
        }
        return;
    }
    remember(absolute);
}

void FileActions::save()
{
    if (document_.FileName().isEmpty())
        saveAs();
    else
        saveTo(document_.FileName());
}

void FileActions::saveAs()
{
    document_.dialogs().chooseFile(document_.dialogParent(),
        dialogSetup(FileDialogSetup::Kind::Save),
        [this](const QString &path) { saveTo(withDefaultSuffix(path, SettingsSuffix)); });
}

void FileActions::saveTo(const QString &path)
{
    if (const Status status = document_.save(path); !status.ok()) {
        report(status);
        return;
    }
    remember(document_.FileName());
}

void FileActions::report(const Status &status)
{
    document_.dialogs().showError(
        document_.dialogParent(), QString::fromStdString(status.message()));
}

void FileActions::remember(const QString &path)
{
    recent_.add(path);
    showRecentFiles();
}

void FileActions::showRecentFiles()
{
    const MainActions &actions = actions_;
    const QStringList &paths = recent_.paths();
    const QFontMetrics metrics(document_.dialogParent()->font());
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
