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

} // namespace

QString preferencesPath(const QString &programFolder, const QString &userFolder,
                        const QString &installedFolder)
{
    const QFileInfo folder(programFolder);
    const bool installed = !installedFolder.isEmpty() && sameFolder(programFolder,
                                                                    installedFolder);
    const bool writable = folder.isDir() && folder.isWritable();
    const QString chosen = (writable && !installed) || userFolder.isEmpty() ? programFolder
                                                                            : userFolder;
    return QDir(chosen).filePath(QLatin1String(PreferencesFileName));
}

QString preferencesPathOfThisProgram()
{
#ifdef ORNIS_INSTALL_BINDIR
    const QString installedFolder = QStringLiteral(ORNIS_INSTALL_BINDIR);
#else
    const QString installedFolder;
#endif
    return preferencesPath(QCoreApplication::applicationDirPath(),
                           QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                           installedFolder);
}

} // namespace ornis
