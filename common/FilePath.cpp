#include "FilePath.h"

#include <QFile>

namespace ornis {

std::filesystem::path toFilePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace ornis
