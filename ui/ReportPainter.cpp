#include "ReportPainter.h"

#include "common/Windows1250.h"
#include "config/Report.h"
#include "ui/support/ClockText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <optional>

namespace ornis {

namespace {

constexpr int PointSize = 10;
constexpr int LeftMarginChars = 5;
constexpr int TopMarginLines = 2;

std::optional<QStringList> unicodeLines(const std::vector<Text> &lines)
{
    QStringList result;
    for (const Text &line : lines) {
        std::optional<QString> unicode = fromWindows1250(line);
        if (!unicode)
            return std::nullopt;
        result.append(*unicode);
    }
    return result;
}

// The date as the clock button shows it, where Windows-1250 can hold the locale's text.
Text dateText(const LocalDateTime &time)
{
    if (std::optional<Text> text = toWindows1250(clockText(time)))
        return *text;
    return clockText(time, QLocale::c()).toStdString();
}

// The part of `line` that fits in `width`: a long comment ends at the page's edge.
QString fitting(const QString &line, const QFontMetricsF &metrics, qreal width)
{
    qsizetype length = line.size();
    while (length > 0 && metrics.horizontalAdvance(line.left(length)) > width)
        --length;
    return line.left(length);
}

void paintPage(QPainter &painter, const QStringList &lines)
{
    const QFontMetricsF metrics = painter.fontMetrics();
    const qreal lineHeight = metrics.size(Qt::TextSingleLine, QStringLiteral("Áy")).height();
    const qreal left = LeftMarginChars * metrics.horizontalAdvance(u'M');
    const qreal width = painter.window().right() + 1 - left;
    for (int k = 0; k < lines.size(); ++k) {
        const qreal top = (k + TopMarginLines) * lineHeight;
        painter.drawText(QPointF(left, top + metrics.ascent()), fitting(lines[k], metrics, width));
    }
}

} // namespace

Status reportPages(
    const ExchangeConfig &config, const LocalDateTime &printedAt, ReportPages &pages)
{
    const Report report = buildReport(config, dateText(printedAt));
    std::optional<QStringList> first = unicodeLines(report.firstPage);
    std::optional<QStringList> second = unicodeLines(report.secondPage);
    if (!first || !second)
        return Status::failure("The report holds a byte that is no Windows-1250 character");
    pages = {std::move(*first), std::move(*second)};
    return Status::success();
}

QFont reportFont()
{
    QFont font(QStringLiteral("Courier New"), PointSize, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (QFontInfo(font).fixedPitch())
        return font;
    // The columns stand under their headings only in a font of one width.
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(PointSize);
    font.setBold(true);
    return font;
}

bool paintReport(QPainter &painter, const ReportPages &pages, const std::function<bool()> &newPage)
{
    painter.setFont(reportFont());
    painter.setPen(Qt::black);
    paintPage(painter, pages.first);
    if (!newPage())
        return false;
    paintPage(painter, pages.second);
    return true;
}

} // namespace ornis
