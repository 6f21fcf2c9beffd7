#include "TransferSteps.h"

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
    const std::optional<StepNames> names = stepNames(mode);
    return names ? QString::fromUtf8(names->caption) : QString();
}

BlockSet blocksMovedBy(TransferMode mode, int32_t model)
{
    if (mode == TransferMode::AllRead || mode == TransferMode::AllWrite)
        return blocksOfModel(model);
    const std::optional<Block> block = blockOfMode(mode);
    return block ? BlockSet {*block} : BlockSet {};
}

} // namespace ornis
