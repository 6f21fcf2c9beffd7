#include "SpreadsheetNumbers.h"

#include <QRegularExpression>
#include <algorithm>

namespace ornis {

namespace {

constexpr QLatin1String FormulaOpening("=\"");
constexpr QLatin1String FormulaClosing("\"");
constexpr QLatin1String Quote("\"");
constexpr QLatin1String DoubledQuote("\"\"");

} // namespace

bool spreadsheetTakesForValue(const QString &number)
{
    return !number.isEmpty()
        && std::ranges::all_of(number, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool spreadsheetMayConvert(const QString &text)
{
    static const QStringList truthWords {QStringLiteral("TRUE"), QStringLiteral("FALSE"),
        QStringLiteral("PRAVDA"), QStringLiteral("NEPRAVDA")};
    if (text.isEmpty())
        return false;
    return QStringView(u"=+-@").contains(text.front())
        || std::ranges::any_of(text, [](QChar c) { return c.isDigit(); })
        || truthWords.contains(text, Qt::CaseInsensitive);
}

QString asTextFormula(const QString &text)
{
    return FormulaOpening + QString(text).replace(Quote, DoubledQuote) + FormulaClosing;
}

QString withoutTextFormula(const QString &cell)
{
    const qsizetype around = FormulaOpening.size() + FormulaClosing.size();
    if (cell.size() >= around && cell.startsWith(FormulaOpening) && cell.endsWith(FormulaClosing))
        return cell.sliced(FormulaOpening.size(), cell.size() - around)
            .replace(DoubledQuote, Quote);
    return cell;
}

bool isSpreadsheetValue(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^[0-9]+(?:[.,][0-9]*)?(?:[eE][+-]?[0-9]+)?$"));
    return !spreadsheetTakesForValue(text) && form.match(text).hasMatch();
}

} // namespace ornis
