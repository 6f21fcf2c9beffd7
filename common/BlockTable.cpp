#include "BlockTable.h"

#include <QStringList>
#include <array>

namespace ornis {

namespace {

using enum TransferMode;

constexpr std::array<BlockInfo, 4> Blocks {{
    {Block::Settings, "settings", "settings", "Nastavení", SettingsRead, SettingsWrite},
    {Block::Services, "services", "services", "Služby", ServicesRead, ServicesWrite},
    {Block::ShortDials, "shortdials", "short dials", "Zkrácené volby", ShortDialsRead,
        ShortDialsWrite},
    {Block::PE, "pe", "PE", "PE", PERead, PEWrite},
}};

constexpr bool tableInBlockOrder()
{
    for (std::size_t i = 0; i < Blocks.size(); ++i) {
        if (Blocks[i].block != AllBlocks[i])
            return false;
    }
    return true;
}
static_assert(tableInBlockOrder());

} // namespace

const BlockInfo &blockInfo(Block block)
{
    return Blocks[std::size_t(block)];
}

std::optional<Block> blockNamed(QStringView key)
{
    for (const BlockInfo &info : Blocks) {
        if (key.compare(QLatin1String(info.key), Qt::CaseInsensitive) == 0)
            return info.block;
    }
    return std::nullopt;
}

QString blockCaption(Block block)
{
    return QString::fromUtf8(blockInfo(block).caption);
}

QString blockTitles(BlockSet blocks)
{
    QStringList titles;
    for (const BlockInfo &info : Blocks) {
        if (blocks.contains(info.block))
            titles.append(QLatin1String(info.title));
    }
    return titles.join(QStringLiteral(", "));
}

TransferMode transferModeOf(Block block, Direction direction)
{
    const BlockInfo &info = blockInfo(block);
    return direction == Direction::Receive ? info.read : info.write;
}

std::vector<TransferMode> transfersFor(BlockSet blocks, int32_t model, Direction direction)
{
    const BlockSet present = blocks & blocksOfModel(model);
    if (present == blocksOfModel(model))
        return {direction == Direction::Receive ? AllRead : AllWrite};
    std::vector<TransferMode> modes;
    for (const Block block : AllBlocks) {
        if (present.contains(block))
            modes.push_back(transferModeOf(block, direction));
    }
    return modes;
}

} // namespace ornis
