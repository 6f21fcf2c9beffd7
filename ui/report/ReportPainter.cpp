#include "ReportPainter.h"

#include "common/Windows1250.h"
#include "config/Report.h"
#include "ui/clock/ClockText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <optional>

namespace ornis {

namespace {

constexpr int PointSize = 10;
constexpr qreal PointStep = 0.5;
constexpr qreal SmallestPointSize = 4;
constexpr int LeftMarginChars = 5;
constexpr int TopMarginLines = 2;
// The width of the dashed rules: only a comment runs past it, and is cut at the page's edge.
constexpr qsizetype LayoutColumns = 78;

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

qreal lineHeight(const QFontMetricsF &metrics)
{
    return metrics.size(Qt::TextSingleLine, QStringLiteral("Áy")).height();
}

qreal leftMargin(const QFontMetricsF &metrics)
{
    return LeftMarginChars * metrics.horizontalAdvance(u'M');
}

bool pageFits(const QStringList &lines, const QFontMetricsF &metrics, const QSizeF &area)
{
    if ((lines.size() + TopMarginLines) * lineHeight(metrics) > area.height())
        return false;
    const qreal left = leftMargin(metrics);
    return std::ranges::all_of(lines, [&](const QString &line) {
        return left + metrics.horizontalAdvance(line.left(LayoutColumns)) <= area.width();
    });
}

// Where `family` resolves to a font of that very family: fontconfig answers any name
// with some font.
std::optional<QFont> installedFont(const QString &family)
{
    QFont font(family, PointSize, QFont::Bold);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QFontInfo got(font);
    if (got.family().compare(family, Qt::CaseInsensitive) != 0 || !got.fixedPitch())
        return std::nullopt;
    return font;
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
    const qreal height = lineHeight(metrics);
    const qreal left = leftMargin(metrics);
    const qreal width = painter.window().right() + 1 - left;
    for (int k = 0; k < lines.size(); ++k) {
        const qreal top = (k + TopMarginLines) * height;
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
    for (const QString &family :
        {QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")})
        if (std::optional<QFont> font = installedFont(family))
            return *font;
    // The columns stand under their headings only in a font of one width.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(PointSize);
    font.setBold(true);
    return font;
}

QFont fittingReportFont(QFont font, const ReportPages &pages, QPaintDevice &device)
{
    const QSizeF area(device.width(), device.height());
    while (font.pointSizeF() - PointStep >= SmallestPointSize) {
        const QFontMetricsF metrics(font, &device);
        if (pageFits(pages.first, metrics, area) && pageFits(pages.second, metrics, area))
            break;
        font.setPointSizeF(font.pointSizeF() - PointStep);
    }
    return font;
}

bool paintReport(QPainter &painter, const ReportPages &pages, const QFont &font,
    const std::function<bool()> &newPage)
{
    painter.setFont(font);
    painter.setPen(Qt::black);
    paintPage(painter, pages.first);
    if (!newPage())
        return false;
    paintPage(painter, pages.second);
    return true;
}

} // namespace ornis
