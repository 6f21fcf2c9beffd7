#include "PreferencesPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ornis {

namespace {

bool sameFolder(const QString &a, const QString &b)
{
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

QString installedFolder()
{
#ifdef ORNIS_INSTALL_BINDIR
    return QStringLiteral(ORNIS_INSTALL_BINDIR);
#else
    return QString();
#endif
}

QString userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

} // namespace

QString programOrUserFolder(
    const QString &programFolder, const QString &userFolder, const QString &installedFolder)
{
    const QFileInfo folder(programFolder);
    const bool installed
        = !installedFolder.isEmpty() && sameFolder(programFolder, installedFolder);
    const bool writable = folder.isDir() && folder.isWritable();
    return (writable && !installed) || userFolder.isEmpty() ? programFolder : userFolder;
}

QString preferencesPath(
    const QString &programFolder, const QString &userFolder, const QString &installedFolder)
{
    return QDir(programOrUserFolder(programFolder, userFolder, installedFolder))
        .filePath(QLatin1String(PreferencesFileName));
}

QString preferencesPathOfThisProgram()
{
    return preferencesPath(
        QCoreApplication::applicationDirPath(), userConfigFolder(), installedFolder());
}

QString settingsFolderOfThisProgram()
{
    return programOrUserFolder(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), installedFolder());
}

QString recentFilesPathOfThisProgram()
{
    return QDir(userConfigFolder()).filePath(QStringLiteral("recent-files.ini"));
}

QString backupFolderOfThisProgram()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("backups"));
}

} // namespace ornis
