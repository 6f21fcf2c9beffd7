#include "BackupFolder.h"

#include "common/BackupName.h"
#include "common/ConfigFiles.h"
#include "link/LocalClock.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace ornis {

namespace {

// Only files named as backups are ever removed; anything else in the folder stays.
bool isBackupName(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_.*\.json$)"));
    return pattern.match(name).hasMatch();
}

} // namespace

BackupFolder::BackupFolder(QString path)
    : path_(std::move(path))
{
}

Status BackupFolder::store(const ExchangeConfig &config, const LocalDateTime &when,
    const QString &label, QString &stored) const
{
    stored.clear();
    if (!keepsBackups())
        return Status::success();
    if (!QDir().mkpath(path_))
        return Status::failure("Cannot create folder " + path_.toStdString());
    const QString path = freeName(when, label);
    if (Status status = saveConfigFile(path, FileKind::Json, config, BlockSet::all());
        !status.ok())
        return status;
    stored = path;
    removeOldest();
    return Status::success();
}

QString BackupFolder::freeName(const LocalDateTime &when, const QString &label) const
{
    const QString stem = backupStamp(when) + u'_' + label;
    const QDir folder(path_);
    QString name = stem + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(folder.filePath(name)); ++n)
        name = QStringLiteral("%1_%2.json").arg(stem).arg(n);
    return folder.filePath(name);
}

void BackupFolder::removeOldest() const
{
    const QDir folder(path_);
    QStringList names = folder.entryList(QDir::Files);
    names.removeIf([](const QString &name) { return !isBackupName(name); });
    if (names.size() <= Limit)
        return;
    std::sort(names.begin(), names.end());
    for (qsizetype i = 0; i < names.size() - Limit; ++i)
        QFile::remove(folder.filePath(names[i]));
}

QString fileNamePart(const QString &caption)
{
    QString part;
    for (const QChar c : caption.normalized(QString::NormalizationForm_D)) {
        if (c.isSpace())
            part += u'_';
        else if (c.unicode() < 0x80)
            part += c.toLower();
    }
    return part;
}

QString backupFailureText(const Status &status)
{
    return QStringLiteral("Zálohu se nepodařilo uložit: %1")
        .arg(QString::fromStdString(status.message()));
}

} // namespace ornis
