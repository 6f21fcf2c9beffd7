#pragma once

#include <QStringList>
#include <functional>

namespace ornis {

// A list of errors (the bad rows of a file, the values a write refuses) stops after the
// first ListedAtMost lines, in the window as on the command line.
inline constexpr qsizetype ListedAtMost = 100;

// The first ListedAtMost of `lines`, then `more(n)` naming the n left out.
[[nodiscard]] QStringList shortList(
    const QStringList &lines, const std::function<QString(qsizetype left)> &more);

} // namespace ornis
