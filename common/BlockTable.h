#pragma once

#include "config/Blocks.h"
#include "link/TransferMode.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// The one table of the blocks: their names, captions and transfer modes.

namespace ornis {

enum class Direction { Receive, Send };

struct BlockInfo
{
    Block block;
    const char *key; // "shortdials": the command line's and the JSON form's name
    const char *title; // "short dials": the name in messages
    const char *caption; // "Zkrácené volby" (UTF-8): the page's caption
    TransferMode read; // the block alone; the settings include the day/night times
    TransferMode write;
};

// The caption of the page of the exchange block (model and modules), which never travels.
inline constexpr const char *ExchangeBlockCaption = "Konfigurace";

[[nodiscard]] const BlockInfo &blockInfo(Block block);
// The block named `key`, in any case.
[[nodiscard]] std::optional<Block> blockNamed(QStringView key);
[[nodiscard]] QString blockCaption(Block block);
// "settings, short dials": the titles of `blocks` in block order.
[[nodiscard]] QString blockTitles(BlockSet blocks);

[[nodiscard]] TransferMode transferModeOf(Block block, Direction direction);
// The transfers that move `blocks` of an exchange of `model`, in order: the transfer of all
// blocks when they are all the model has, else one transfer per block. Blocks the model
// does not have are left out.
[[nodiscard]] std::vector<TransferMode> transfersFor(
    BlockSet blocks, int32_t model, Direction direction);

} // namespace ornis
