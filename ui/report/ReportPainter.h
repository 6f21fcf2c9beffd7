#pragma once

#include "config/Status.h"
#include "link/LocalClock.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class QPaintDevice;
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

// "Courier New" 10 pt bold; where the machine lacks it, "Liberation Mono", which has its
// metrics; where that is missing too, the system's fixed-pitch font.
[[nodiscard]] QFont reportFont();

// `font`, made smaller half a point at a time until every line of both pages lies inside
// `device` (a printer's printable area), so that no line falls off the paper whatever
// font the machine substituted.
[[nodiscard]] QFont fittingReportFont(QFont font, const ReportPages &pages, QPaintDevice &device);

// Paints the first page, asks `newPage` for the next one and paints the second, each line
// in `font`: with h the height of "Áy" and w the width of "M", line k of a page has its top
// at (k + 2) h and starts at 5 w. False when `newPage` fails.
[[nodiscard]] bool paintReport(QPainter &painter, const ReportPages &pages, const QFont &font,
    const std::function<bool()> &newPage);

} // namespace ornis
