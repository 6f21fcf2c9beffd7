#include "LineCallBackTexts.h"

#include "config/Numbering.h"

#include <QStringList>

namespace ornis {

namespace {

const QString LineCallBackRefused
    = QStringLiteral("Zpětné vyzvánění na státní linku (91 až 94) nelze do ústředny zapsat");

} // namespace

QString lineCallBackHint()
{
    return LineCallBackRefused + QStringLiteral(": zápis pošle místo něj „vyp“.");
}

// "Pobočka 21 dostane" / "Pobočky 21, 23 dostanou": who gets "vyp" instead.
QString lineCallBackQuestion(const std::vector<int> &extensions)
{
    QStringList numbers;
    for (const int index : extensions)
        numbers.append(QString::number(extensionNumber(index)));
    const QString who = extensions.size() == 1
        ? QStringLiteral("Pobočka %1 dostane").arg(numbers.value(0))
        : QStringLiteral("Pobočky %1 dostanou").arg(numbers.join(u", "));
    return QStringLiteral("%1. %2 místo něj „vyp“.\n\nPokračovat v zápisu ?")
        .arg(LineCallBackRefused, who);
}

} // namespace ornis
