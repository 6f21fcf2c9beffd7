#include "PortNames.h"

namespace ornis {

bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i;
            const qsizetype startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            // Compare the runs as numbers without converting: leading zeros aside, the
            // longer run is the bigger number.
            QStringView runA = QStringView(a).mid(startA, i - startA);
            QStringView runB = QStringView(b).mid(startB, j - startB);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size();
            if (const int order = runA.compare(runB); order != 0)
                return order < 0;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

QString displayNameOf(const QString &nameOrPath)
{
    for (const QLatin1String folder : {QLatin1String("/dev/"), QLatin1String("\\\\.\\")}) {
        if (nameOrPath.startsWith(folder))
            return nameOrPath.mid(folder.size());
    }
    return nameOrPath;
}

QString accessAdvice(const QString &device, const QString &group)
{
    const QString name = group.isEmpty() ? QStringLiteral("dialout") : group;
    return QStringLiteral("To get access to %1, add your user to the group \"%2\" "
                          "(sudo usermod -aG %2 $USER), then log out and in again.")
        .arg(device, name);
}

} // namespace ornis
