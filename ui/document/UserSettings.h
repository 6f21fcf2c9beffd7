#pragma once

#include <QHash>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace ornis {

// What the window remembers for the user between runs, in a small file of its own in the
// user's configuration folder (the preferences file keeps its fixed layout).
class UserSettings
{
public:
    // An empty path keeps everything for this run only.
    explicit UserSettings(QString path);

    // "Ověřit po zápisu"; off unless the user switched it on.
    [[nodiscard]] bool verifyAfterWrite() const;
    void setVerifyAfterWrite(bool on);

    // A write was ended by closing the window; `backups` hold what the exchange held
    // before it, as far as the run knew.
    void noteWriteEndedByClosing(const QStringList &backups);
    // That note, once: the next call gives nothing.
    [[nodiscard]] std::optional<QStringList> takeWriteEndedByClosing();

    // Closing kept edits held by no file in the backup `path`, at the time `when` shows; an
    // empty `path` notes a close that kept none.
    void noteEditsKeptAtClose(const QString &path, const QString &when);
    struct KeptEdits
    {
        QString path;
        QString when;
    };
    // That note, once: the next call gives nothing.
    [[nodiscard]] std::optional<KeptEdits> takeEditsKeptAtClose();

    // The folder a file dialog for files of `use` ("settings", "pdf") was last left in;
    // empty when none was.
    [[nodiscard]] QString lastFolder(const QString &use) const;
    void setLastFolder(const QString &use, const QString &folder);

    // Where the window stood when it was last closed; nothing before the first close.
    [[nodiscard]] std::optional<QPoint> windowPosition() const { return position_; }
    void setWindowPosition(QPoint position);

private:
    void store(const QString &key, const QVariant &value);
    void remove(const QString &key);

    const QString path_;
    // For a run without a file.
    bool verify_ = false;
    std::optional<QStringList> closedWrite_;
    std::optional<QPoint> position_;
    std::optional<KeptEdits> keptEdits_;
    QHash<QString, QString> folders_;
};

} // namespace ornis
