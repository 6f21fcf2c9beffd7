#include "SpreadsheetNumbers.h"

#include <QRegularExpression>
#include <algorithm>

namespace ornis {

namespace {

constexpr QLatin1String FormulaOpening("=\"");
constexpr QLatin1String FormulaClosing("\"");

} // namespace

bool spreadsheetTakesForValue(const QString &number)
{
    return !number.isEmpty()
        && std::ranges::all_of(number, [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString asTextFormula(const QString &number)
{
    return FormulaOpening + number + FormulaClosing;
}

QString withoutTextFormula(const QString &cell)
{
    const qsizetype around = FormulaOpening.size() + FormulaClosing.size();
    if (cell.size() >= around && cell.startsWith(FormulaOpening) && cell.endsWith(FormulaClosing))
        return cell.sliced(FormulaOpening.size(), cell.size() - around);
    return cell;
}

bool isSpreadsheetValue(const QString &text)
{
    static const QRegularExpression form(
        QStringLiteral("^[0-9]+(?:[.,][0-9]*)?(?:[eE][+-]?[0-9]+)?$"));
    return !spreadsheetTakesForValue(text) && form.match(text).hasMatch();
}

} // namespace ornis
