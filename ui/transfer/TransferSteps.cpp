#include "TransferSteps.h"

#include "common/BlockNames.h"
#include "config/Numbering.h"

#include <QStringList>
#include <optional>

namespace ornis {

namespace {

const QString LineCallBackRefused
    = QStringLiteral("Zpětné vyzvánění na státní linku (91 až 94) nelze do ústředny zapsat");

} // namespace

std::vector<TransferMode> transferSteps(TransferMode mode, int32_t model)
{
    const bool all = mode == TransferMode::AllRead || mode == TransferMode::AllWrite;
    std::vector<TransferMode> steps {mode};
    while (const std::optional<TransferMode> next = nextStep(steps.back(), all, model))
        steps.push_back(*next);
    return steps;
}

QString stepCaption(TransferMode mode)
{
    if (mode == TransferMode::ClockWrite)
        return QStringLiteral("Datum a čas");
    if (mode == TransferMode::TimesRead || mode == TransferMode::TimesWrite)
        return QStringLiteral("Režim D/N");
    const std::optional<Block> block = blockOfMode(mode);
    return block ? blockCaption(*block) : QString();
}

BlockSet blocksMovedBy(TransferMode mode, int32_t model)
{
    if (mode == TransferMode::AllRead || mode == TransferMode::AllWrite)
        return blocksOfModel(model);
    const std::optional<Block> block = blockOfMode(mode);
    return block ? BlockSet {*block} : BlockSet {};
}

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
