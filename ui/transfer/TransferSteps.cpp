#include "TransferSteps.h"

#include "common/BlockNames.h"

#include <optional>

namespace ornis {

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

} // namespace ornis
