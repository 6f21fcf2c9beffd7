#include "TraceFile.h"

#include <QDateTime>
#include <QDir>

namespace ornis {

namespace {

const QString FilePattern = QStringLiteral("trace-*.txt");

Status cannotWrite(const QString &path, const QString &why)
{
    return Status::failure(
        (QStringLiteral("Cannot write the line trace ") + path + QStringLiteral(": ") + why)
            .toStdString());
}

} // namespace

TraceFile::TraceFile(const QString &folder)
    : folder_(folder)
{
}

std::unique_ptr<TraceFile> TraceFile::single(const QString &path, Status &status)
{
    std::unique_ptr<TraceFile> trace(new TraceFile(QString()));
    trace->file_.setFileName(path);
    // Unbuffered: the line trace gathers its lines itself, and a failed write is known at once.
    if (!trace->file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text
            | QIODevice::Unbuffered)) {
        status = cannotWrite(path, trace->file_.errorString());
        return nullptr;
    }
    status = Status::success();
    return trace;
}

std::unique_ptr<TraceFile> TraceFile::perTransfer(const QString &folder, Status &status)
{
    if (!QDir().mkpath(folder)) {
        status = cannotWrite(folder, QStringLiteral("the folder cannot be made"));
        return nullptr;
    }
    status = Status::success();
    return std::unique_ptr<TraceFile>(new TraceFile(folder));
}

void TraceFile::transferStarts()
{
    if (!folder_.isEmpty())
        openNextInFolder();
}

void TraceFile::write(std::string_view text)
{
    // Bytes on the line before any transfer; a file that failed to open is not tried anew
    // (and said again) for every line of its transfer.
    if (!file_.isOpen() && !folder_.isEmpty() && file_.fileName().isEmpty())
        openNextInFolder();
    // Until done or refused: a short write (a disk just filled up) carries no reason, the
    // next one does.
    for (std::size_t done = 0; file_.isOpen() && done < text.size();) {
        const qint64 count = file_.write(text.data() + done, qint64(text.size() - done));
        if (count <= 0)
            return failed();
        done += std::size_t(count);
    }
}

void TraceFile::flush()
{
    if (file_.isOpen() && !file_.flush())
        failed();
}

void TraceFile::failed()
{
    if (fileFailed_)
        return;
    fileFailed_ = true;
    if (report_)
        report_(cannotWrite(file_.fileName(), file_.errorString()));
}

void TraceFile::openNextInFolder()
{
    file_.close();
    const QString stamp
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString path = QDir(folder_).filePath(QStringLiteral("trace-%1.txt").arg(stamp));
    for (int n = 2; QFile::exists(path); ++n)
        path = QDir(folder_).filePath(QStringLiteral("trace-%1-%2.txt").arg(stamp).arg(n));
    file_.setFileName(path);
    fileFailed_ = false;
    // A trace that cannot be written must not stop the transfer: it is missing, and said so.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Text))
        failed();
    removeOldFiles();
}

void TraceFile::removeOldFiles() const
{
    const QDir folder(folder_);
    const QStringList names = folder.entryList({FilePattern}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + KeptFiles < names.size(); ++i)
        QFile::remove(folder.filePath(names.at(i)));
}

} // namespace ornis
