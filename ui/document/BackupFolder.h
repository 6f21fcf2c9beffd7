#pragma once

#include "config/Status.h"

#include <QString>

namespace ornis {

struct ExchangeConfig;
struct LocalDateTime;

// The folder of the automatic backups: each holds the whole configuration in the JSON
// form, named by date, time and what happened ("2026-12-08_14-03-22_cteni_vse.json"), so
// that the names sort by time. The newest `Limit` are kept.
class BackupFolder
{
public:
    static constexpr int Limit = 200;

    // An empty `path` keeps no backups.
    explicit BackupFolder(QString path);

    [[nodiscard]] const QString &path() const { return path_; }
    [[nodiscard]] bool keepsBackups() const { return !path_.isEmpty(); }

    // Stores `config` as "<date>_<time>_<label>.json" ("_2" and on for a name taken), the
    // folder made if need be, then removes the oldest backups beyond the limit. `stored`
    // names the new file; without a folder nothing is stored and nothing fails.
    [[nodiscard]] Status store(const ExchangeConfig &config, const LocalDateTime &when,
        const QString &label, QString &stored) const;

private:
    [[nodiscard]] QString freeName(const LocalDateTime &when, const QString &label) const;
    void removeOldest() const;

    QString path_;
};

// "zkracene_volby": a caption as a part of a file name, without accents and spaces.
[[nodiscard]] QString fileNamePart(const QString &caption);

// The message that a backup could not be stored, and why.
[[nodiscard]] QString backupFailureText(const Status &status);

} // namespace ornis
