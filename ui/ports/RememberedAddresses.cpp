#include "RememberedAddresses.h"

#include "common/ConfigFiles.h"
#include "qtlink/PortAddress.h"

#include <QDir>
#include <QFileInfo>

namespace ornis {

namespace {

// Far more than any address needs; a longer line is no address of ours.
constexpr qint64 MaxLineLength = 300;

} // namespace

RememberedAddresses::RememberedAddresses(const QString &path)
    : path_(path)
{
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (addresses_.size() < MaxCount && !file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(MaxLineLength)).trimmed();
        PortAddress address;
        if (looksLikeNetworkAddress(line) && parsePortAddress(line, address).ok()
            && !addresses_.contains(address.text()))
            addresses_.append(address.text());
    }
}

void RememberedAddresses::remember(const QString &address)
{
    addresses_.removeAll(address);
    addresses_.prepend(address);
    while (addresses_.size() > MaxCount)
        addresses_.removeLast();
    if (path_.isEmpty() || !QDir().mkpath(QFileInfo(path_).absolutePath()))
        return;
    // Whole or not at all, as every file the program writes; a failure costs only the list.
    (void)writeWholeFile(path_, (addresses_.join(u'\n') + u'\n').toUtf8());
}

} // namespace ornis
