#include "UserSettings.h"

#include <QSettings>

namespace ornis {

namespace {

const QString VerifyKey = QStringLiteral("Transfers/verifyAfterWrite");
const QString ClosedWriteKey = QStringLiteral("Transfers/writeEndedByClosing");
const QString KeptEditsKey = QStringLiteral("Closing/editsKeptIn");
const QString KeptWhenKey = QStringLiteral("Closing/editsKeptAt");
const QString FoldersGroup = QStringLiteral("Folders");
const QString PositionKey = QStringLiteral("Window/position");

} // namespace

UserSettings::UserSettings(QString path)
    : path_(std::move(path))
{
    if (path_.isEmpty())
        return;
    const QSettings stored(path_, QSettings::IniFormat);
    verify_ = stored.value(VerifyKey, false).toBool();
    if (stored.contains(ClosedWriteKey))
        closedWrite_ = stored.value(ClosedWriteKey).toStringList();
    if (stored.contains(KeptEditsKey))
        keptEdits_ = {stored.value(KeptEditsKey).toString(), stored.value(KeptWhenKey).toString()};
    for (const QString &key : stored.allKeys()) {
        if (key.startsWith(FoldersGroup + u'/'))
            folders_.insert(key.mid(FoldersGroup.size() + 1), stored.value(key).toString());
    }
    if (const QVariant position = stored.value(PositionKey);
        position.typeId() == QMetaType::QPoint)
        position_ = position.toPoint();
}

bool UserSettings::verifyAfterWrite() const
{
    return verify_;
}

void UserSettings::setVerifyAfterWrite(bool on)
{
    verify_ = on;
    store(VerifyKey, on);
}

void UserSettings::setWindowPosition(QPoint position)
{
    position_ = position;
    store(PositionKey, position);
}

void UserSettings::noteWriteEndedByClosing(const QStringList &backups)
{
    closedWrite_ = backups;
    // An empty list must still mark the write.
    store(ClosedWriteKey, backups.isEmpty() ? QStringList {QString()} : backups);
}

std::optional<QStringList> UserSettings::takeWriteEndedByClosing()
{
    std::optional<QStringList> note = std::exchange(closedWrite_, std::nullopt);
    if (note) {
        note->removeAll(QString());
        remove(ClosedWriteKey);
    }
    return note;
}

void UserSettings::noteEditsKeptAtClose(const QString &path, const QString &when)
{
    if (path.isEmpty()) {
        keptEdits_.reset();
        remove(KeptEditsKey);
        remove(KeptWhenKey);
        return;
    }
    keptEdits_ = {path, when};
    store(KeptWhenKey, when);
    store(KeptEditsKey, path);
}

std::optional<UserSettings::KeptEdits> UserSettings::takeEditsKeptAtClose()
{
    std::optional<KeptEdits> note = std::exchange(keptEdits_, std::nullopt);
    if (note)
        noteEditsKeptAtClose(QString(), QString());
    return note;
}

QString UserSettings::lastFolder(const QString &use) const
{
    return folders_.value(use);
}

void UserSettings::setLastFolder(const QString &use, const QString &folder)
{
    if (folders_.value(use) == folder)
        return;
    folders_.insert(use, folder);
    store(FoldersGroup + u'/' + use, folder);
}

void UserSettings::store(const QString &key, const QVariant &value)
{
    if (path_.isEmpty())
        return;
    QSettings stored(path_, QSettings::IniFormat);
    stored.setValue(key, value);
    // Written now: the program may not end normally.
    stored.sync();
}

void UserSettings::remove(const QString &key)
{
    if (path_.isEmpty())
        return;
    QSettings stored(path_, QSettings::IniFormat);
    stored.remove(key);
    stored.sync();
}

} // namespace ornis
