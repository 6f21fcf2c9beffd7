#include "ShortList.h"

namespace ornis {

QStringList shortList(const QStringList &lines, const std::function<QString(qsizetype left)> &more)
{
    if (lines.size() <= ListedAtMost)
        return lines;
    return lines.first(ListedAtMost) << more(lines.size() - ListedAtMost);
}

} // namespace ornis
