#include "BlockNames.h"

namespace ornis {

namespace {

// In block order (UTF-8).
constexpr std::array<const char *, AllBlocks.size()> BlockCaptions {
    "Nastavení", "Služby", "Zkrácené volby", "PE"};
constexpr const char *ExchangeBlockCaption = "Konfigurace";

} // namespace

std::optional<Block> blockNamed(QStringView key)
{
    for (const BlockInfo &info : BlockTable) {
        if (key.compare(QLatin1String(info.key), Qt::CaseInsensitive) == 0)
            return info.block;
    }
    return std::nullopt;
}

QStringList blockKeys()
{
    QStringList keys;
    for (const BlockInfo &info : BlockTable)
        keys.append(QLatin1String(info.key));
    return keys;
}

QString blockCaption(std::optional<Block> block)
{
    return QString::fromUtf8(block ? BlockCaptions.at(std::size_t(*block)) : ExchangeBlockCaption);
}

QString blockTitles(BlockSet blocks)
{
    QStringList titles;
    for (const BlockInfo &info : BlockTable) {
        if (blocks.contains(info.block))
            titles.append(QLatin1String(info.title));
    }
    return titles.join(QStringLiteral(", "));
}

std::vector<TransferMode> transfersFor(BlockSet blocks, int32_t model, Direction direction)
{
    const BlockSet present = blocks & blocksOfModel(model);
    if (present == blocksOfModel(model))
        return {wholeTransfer(direction)};
    std::vector<TransferMode> modes;
    for (const BlockInfo &info : BlockTable) {
        if (present.contains(info.block))
            modes.push_back(transferModeOf(info.block, direction));
    }
    return modes;
}

} // namespace ornis
