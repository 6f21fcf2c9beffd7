#include "UserSettings.h"

#include <QSettings>

namespace ornis {

namespace {

const QString VerifyKey = QStringLiteral("Transfers/verifyAfterWrite");
const QString ClosedWriteKey = QStringLiteral("Transfers/writeEndedByClosing");

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
