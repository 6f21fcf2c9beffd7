#include "TransferSteps.h"

#include "common/BlockTable.h"
#include "ui/MainPages.h"

#include <optional>

namespace ornis {

namespace {

using enum TransferMode;

// The block whose own transfer `mode` is; the settings for a transfer of all blocks.
std::optional<Block> blockOfMode(TransferMode mode)
{
    if (mode == AllRead || mode == AllWrite)
        return Block::Settings;
    for (const Block block : AllBlocks) {
        if (transferModeOf(block, Direction::Receive) == mode
            || transferModeOf(block, Direction::Send) == mode)
            return block;
    }
    return std::nullopt;
}

} // namespace

std::vector<TransferMode> transferSteps(TransferMode mode, int32_t model)
{
    const TransferMode times = isRead(mode) ? TimesRead : TimesWrite;
    switch (mode) {
    case SettingsRead:
    case SettingsWrite:
        return {mode, times};
    case AllRead:
    case AllWrite: {
        std::vector<TransferMode> steps {mode, times};
        const Direction direction = isRead(mode) ? Direction::Receive : Direction::Send;
        for (const Block block : AllBlocks) {
            if (block != Block::Settings && blocksOfModel(model).contains(block))
                steps.push_back(transferModeOf(block, direction));
        }
        return steps;
    }
    default:
        return {mode};
    }
}

QString stepCaption(TransferMode mode)
{
    if (mode == TimesRead || mode == TimesWrite)
        return QStringLiteral("Režim D/N");
    if (mode == ClockWrite)
        return QStringLiteral("Datum a čas");
    const std::optional<Block> block = blockOfMode(mode);
    return block ? blockCaption(*block) : QString();
}

BlockSet blocksMovedBy(TransferMode mode, int32_t model)
{
    if (mode == AllRead || mode == AllWrite)
        return blocksOfModel(model);
    const std::optional<Block> block = blockOfMode(mode);
    return block ? BlockSet {*block} : BlockSet {};
}

bool isRead(TransferMode mode)
{
    return blockReadIn(mode).has_value();
}

} // namespace ornis
