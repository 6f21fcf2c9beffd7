#include "FileActions.h"

#include "common/ConfigFiles.h"
#include "common/FilePath.h"
#include "ui/MainActions.h"
#include "ui/document/Document.h"
#include "ui/document/FileChooser.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QWidget>

namespace ornis {

namespace {

// The settings file first, as it has always been; the whole configuration beside it.
const QList<FileType> ConfigTypes {
    {QStringLiteral("Soubory nastavení (*.set)"), QStringLiteral("set")},
    {QStringLiteral("Celá konfigurace (*.json)"), QStringLiteral("json")},
};
// Wide enough for a deep path in the menu; the middle of a longer one is left out.
constexpr int RecentFileTextWidth = 420; // pixels

// The name a save writes: one ending in ".set" or ".json" as it is, any other with the
// suffix of the type chosen ("copy", "copy." and "copy.bak" become "copy.set",
// "copy.set" and "copy.bak.set").
QString withTypeSuffix(const QString &path, const QString &suffix)
{
    const std::optional<FileKind> kind = fileKindOf(path);
    if (kind == FileKind::Settings || kind == FileKind::Json)
        return path;
    return path.endsWith(u'.') ? path + suffix : path + u'.' + suffix;
}

} // namespace

FileActions::FileActions(Document &document, const MainActions &actions, FileChooser &chooser,
    const QString &recentFilesPath, QObject *parent)
    : QObject(parent)
    , document_(document)
    , actions_(actions)
    , chooser_(chooser)
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

void FileActions::open()
{
    const FileDialogSetup setup {
        FileDialogSetup::Kind::Open, QStringLiteral("Otevřít"), {}, ConfigTypes, {}};
    chooser_.choose(FileUse::Settings, setup, [this](const ChosenFile &file) {
        // "name" typed for "name.set"; a file really named so wins.
        load(QFileInfo::exists(file.path)
                ? file.path
                : withDefaultSuffix(file.path, ConfigTypes.value(file.type).suffix));
    });
}

void FileActions::openBackup()
{
    const FileDialogSetup setup {FileDialogSetup::Kind::Open, QStringLiteral("Otevřít zálohu"), {},
        {{QStringLiteral("Zálohy konfigurace (*.json)"), QStringLiteral("json")}}, {}};
    chooser_.choose(FileUse::Backups, setup, [this](const ChosenFile &file) { load(file.path); });
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
    const FileDialogSetup setup {
        FileDialogSetup::Kind::Save, QStringLiteral("Uložit jako"), {}, ConfigTypes, {}};
    chooser_.choose(FileUse::Settings, setup, [this](const ChosenFile &file) {
        saveTo(withTypeSuffix(file.path, ConfigTypes.value(file.type).suffix));
    });
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
