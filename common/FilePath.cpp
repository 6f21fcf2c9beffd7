#include "FilePath.h"

#include <QFile>
#include <QFileInfo>

namespace ornis {

std::filesystem::path toFilePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString withDefaultSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    // "name." ends in the dot already.
    return path.endsWith(u'.') ? path + suffix : path + u'.' + suffix;
}

} // namespace ornis
