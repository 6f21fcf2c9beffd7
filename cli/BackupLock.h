#pragma once

#include "Shard.h"
#include "config/Status.h"

#include <QString>
#include <optional>

namespace ornis::cli {

// One run at a time a folder of backups: a run locks DIR/.ornisset-backup.lock for its whole
// length, so that a timer's run and a manual one never race over the same sites. A run of
// the whole list locks the whole of it; a run of a shard K/N only its part, so that the
// shards of one list run side by side, but never beside the whole list or the same shard
// again. The lock goes with the process, however it ends. On Windows there is none.
class BackupLock
{
public:
    BackupLock() = default;
    ~BackupLock();
    BackupLock(const BackupLock &) = delete;
    BackupLock &operator=(const BackupLock &) = delete;

    // Takes the lock of `dir` (made when missing) for `shard` (nothing: the whole list) at
    // once, or fails naming the lock and the process that holds it.
    [[nodiscard]] Status take(const QString &dir, std::optional<Shard> shard);

    // Holds the state file to itself while it is read, merged and written: waits for any
    // other run of a shard doing the same, which takes a moment. Needs take() first.
    void holdState();
    void releaseState();

    [[nodiscard]] static QString fileName() { return QStringLiteral(".ornisset-backup.lock"); }

private:
    int descriptor_ = -1;
};

} // namespace ornis::cli
