#pragma once

#include <QString>
#include <QStringList>

namespace ornis {

// The network addresses typed into the port list, newest first, kept for the next start
// in a small text file of the user's configuration folder (one address a line, UTF-8).
// Like the preferences file, a file that cannot be read or written is passed over
// silently: the list is a convenience.
class RememberedAddresses
{
public:
    static constexpr int MaxCount = 8;

    // Reads `path`; an empty path keeps nothing. Lines that are no network address are
    // skipped.
    explicit RememberedAddresses(const QString &path);

    [[nodiscard]] const QStringList &addresses() const { return addresses_; }
    // Puts `address` first (once) and writes the file.
    void remember(const QString &address);

private:
    QString path_;
    QStringList addresses_;
};

} // namespace ornis
