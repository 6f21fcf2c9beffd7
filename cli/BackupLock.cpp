#include "BackupLock.h"

#include <QDir>
#include <QFile>

#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace ornis::cli {

#ifndef _WIN32

namespace {

// Byte K-1 of the file stands for shard K/N, whatever N; a run of the whole list locks
// every such byte. The state file's byte lies beyond them all.
constexpr off_t StateByte = Shard::MaxCount;

struct flock byteRange(short type, off_t start, off_t length)
{
    struct flock range
    {
    };
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = start;
    range.l_len = length;
    return range;
}

struct flock runRange(short type, std::optional<Shard> shard)
{
    return shard ? byteRange(type, shard->index - 1, 1) : byteRange(type, 0, StateByte);
}

// "process 1234 (ornisset-cli)", or less when the system does not say.
QString processText(pid_t pid)
{
    if (pid <= 0)
        return QStringLiteral("another process");
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    const QString name = comm.open(QIODevice::ReadOnly)
        ? QString::fromLocal8Bit(comm.read(64)).trimmed()
        : QString();
    return name.isEmpty() ? QStringLiteral("process %1").arg(pid)
                          : QStringLiteral("process %1 (%2)").arg(pid).arg(name);
}

} // namespace

BackupLock::~BackupLock()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

Status BackupLock::take(const QString &dir, std::optional<Shard> shard)
{
    const QString path = QDir(dir).filePath(fileName());
    const auto failure = [&path](const QString &why) {
        return Status::failure(QStringLiteral("Cannot lock %1: %2").arg(path, why).toStdString());
    };
    if (!QDir().mkpath(dir))
        return failure(QStringLiteral("the folder cannot be made"));
    descriptor_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    struct flock range = runRange(F_WRLCK, shard);
    if (::fcntl(descriptor_, F_SETLK, &range) == 0)
        return Status::success();
    if (errno != EACCES && errno != EAGAIN)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    struct flock holder = runRange(F_WRLCK, shard);
    const pid_t pid = ::fcntl(descriptor_, F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK
        ? holder.l_pid
        : 0;
    return Status::failure(QStringLiteral("Another run backs up into %1: %2 holds %3")
                               .arg(dir, processText(pid), path)
                               .toStdString());
}

void BackupLock::holdState()
{
    struct flock range = byteRange(F_WRLCK, StateByte, 1);
    while (::fcntl(descriptor_, F_SETLKW, &range) != 0 && errno == EINTR) { }
}

void BackupLock::releaseState()
{
    struct flock range = byteRange(F_UNLCK, StateByte, 1);
    ::fcntl(descriptor_, F_SETLK, &range);
}

#else

BackupLock::~BackupLock() = default;

Status BackupLock::take(const QString &dir, std::optional<Shard>)
{
    return QDir().mkpath(dir) ? Status::success()
                              : Status::failure(("Cannot create the folder " + dir).toStdString());
}

void BackupLock::holdState() { }

void BackupLock::releaseState() { }

#endif

} // namespace ornis::cli
