#pragma once

#include "TransferMode.h"
#include "config/Blocks.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// The one table of the blocks as they travel: their transfer modes, the order in which a
// transfer of all blocks chains them, and their names in the JSON form and in messages.
// The day/night times are no block of their own: they are the step that follows the
// settings block in every settings transfer, and their values count as settings.

namespace ornis {

enum class Direction : uint8_t { Receive, Send };

struct BlockInfo
{
    Block block;
    const char *key; // "shortdials": the name in the JSON form and on the command line
    const char *title; // "short dials": the name in messages and in the progress lines
    TransferMode read; // the block alone
    TransferMode write;
};

// In block order, which is the order of a transfer of all blocks too.
inline constexpr std::array<BlockInfo, 4> BlockTable {{
    {Block::Settings, "settings", "settings", TransferMode::SettingsRead,
        TransferMode::SettingsWrite},
    {Block::Services, "services", "services", TransferMode::ServicesRead,
        TransferMode::ServicesWrite},
    {Block::ShortDials, "shortdials", "short dials", TransferMode::ShortDialsRead,
        TransferMode::ShortDialsWrite},
    {Block::PE, "pe", "PE", TransferMode::PERead, TransferMode::PEWrite},
}};

[[nodiscard]] constexpr bool blockTableInBlockOrder()
{
    for (std::size_t i = 0; i < BlockTable.size(); ++i) {
        if (BlockTable[i].block != AllBlocks[i])
            return false;
    }
    return BlockTable.size() == AllBlocks.size();
}
static_assert(blockTableInBlockOrder());

// The names of a step of a transfer: a block, or one of the two steps that are no block.
struct StepNames
{
    const char *title; // "day/night times", in the progress lines
};
inline constexpr StepNames TimesStepNames {"day/night times"};
inline constexpr StepNames ClockStepNames {"clock"};

[[nodiscard]] constexpr const BlockInfo &blockInfo(Block block)
{
    return BlockTable[std::size_t(block)];
}

[[nodiscard]] constexpr TransferMode transferModeOf(Block block, Direction direction)
{
    const BlockInfo &info = blockInfo(block);
    return direction == Direction::Receive ? info.read : info.write;
}

// The transfer of all blocks, the settings block first.
[[nodiscard]] constexpr TransferMode wholeTransfer(Direction direction)
{
    return direction == Direction::Receive ? TransferMode::AllRead : TransferMode::AllWrite;
}

[[nodiscard]] constexpr TransferMode timesStep(Direction direction)
{
    return direction == Direction::Receive ? TransferMode::TimesRead : TransferMode::TimesWrite;
}

// Which way `mode` moves values; nothing for idle and the stop sequence.
[[nodiscard]] constexpr std::optional<Direction> directionOf(TransferMode mode)
{
    for (const Direction direction : {Direction::Receive, Direction::Send}) {
        if (mode == wholeTransfer(direction) || mode == timesStep(direction))
            return direction;
        for (const BlockInfo &info : BlockTable) {
            if (mode == transferModeOf(info.block, direction))
                return direction;
        }
    }
    if (mode == TransferMode::ClockWrite)
        return Direction::Send;
    return std::nullopt;
}

// The transfer reads from the exchange.
[[nodiscard]] constexpr bool isRead(TransferMode mode)
{
    return directionOf(mode) == Direction::Receive;
}

// The block whose values travel in `mode`: the settings for the day/night times and for
// the first step of a transfer of all blocks; nothing for the clock, idle and stopping.
[[nodiscard]] constexpr std::optional<Block> blockOfMode(TransferMode mode)
{
    const std::optional<Direction> direction = directionOf(mode);
    if (!direction || mode == TransferMode::ClockWrite)
        return std::nullopt;
    if (mode == wholeTransfer(*direction) || mode == timesStep(*direction))
        return Block::Settings;
    for (const BlockInfo &info : BlockTable) {
        if (mode == transferModeOf(info.block, *direction))
            return info.block;
    }
    return std::nullopt;
}

// The step that follows `mode` when its block is done: the day/night times after the
// settings block; in a transfer of all blocks (`all`) the next block an exchange of
// `model` has. Nothing when the transfer is complete.
[[nodiscard]] constexpr std::optional<TransferMode> nextStep(
    TransferMode mode, bool all, int32_t model)
{
    const std::optional<Direction> direction = directionOf(mode);
    const std::optional<Block> block = blockOfMode(mode);
    if (!direction || !block)
        return std::nullopt;
    if (mode == wholeTransfer(*direction) || mode == transferModeOf(Block::Settings, *direction))
        return timesStep(*direction);
    if (!all)
        return std::nullopt;
    for (std::size_t next = std::size_t(*block) + 1; next < BlockTable.size(); ++next) {
        if (blocksOfModel(model).contains(BlockTable[next].block))
            return transferModeOf(BlockTable[next].block, *direction);
    }
    return std::nullopt;
}

// The names of step `mode`; nothing for idle and stopping.
[[nodiscard]] constexpr std::optional<StepNames> stepNames(TransferMode mode)
{
    if (mode == TransferMode::ClockWrite)
        return ClockStepNames;
    if (mode == TransferMode::TimesRead || mode == TransferMode::TimesWrite)
        return TimesStepNames;
    if (const std::optional<Block> block = blockOfMode(mode))
        return StepNames {blockInfo(*block).title};
    return std::nullopt;
}

} // namespace ornis
