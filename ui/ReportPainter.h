#pragma once

#include "config/Status.h"
#include "link/LocalClock.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;

namespace ornis {

struct ExchangeConfig;

// The two pages of the printed report, line by line.
struct ReportPages
{
    QStringList first;
    QStringList second;
};

// The report of `config` dated `printedAt` in the user's locale; fails when a text of the
// model holds a byte that is no Windows-1250 character.
[[nodiscard]] Status reportPages(
    const ExchangeConfig &config, const LocalDateTime &printedAt, ReportPages &pages);

// "Courier New" 10 pt bold, or the nearest fixed-pitch font where it is missing.
[[nodiscard]] QFont reportFont();

// Paints the first page, asks `newPage` for the next one and paints the second, each line
// in the report font: with h the height of "Áy" and w the width of "M", line k of a page
// has its top at (k + 2) h and starts at 5 w. False when `newPage` fails.
[[nodiscard]] bool paintReport(
    QPainter &painter, const ReportPages &pages, const std::function<bool()> &newPage);

} // namespace ornis
