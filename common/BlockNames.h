#pragma once

#include "link/BlockTable.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// The names of the block table as Qt texts, and the transfers that move a set of blocks.

namespace ornis {

// The block named `key`, in any case.
[[nodiscard]] std::optional<Block> blockNamed(QStringView key);
// "settings", "services", ...: the keys of all blocks in block order.
[[nodiscard]] QStringList blockKeys();
[[nodiscard]] QString blockCaption(Block block);
// "settings, short dials": the titles of `blocks` in block order.
[[nodiscard]] QString blockTitles(BlockSet blocks);

// The transfers that move `blocks` of an exchange of `model`, in order: the transfer of all
// blocks when they are all the model has, else one transfer per block. Blocks the model
// does not have are left out.
[[nodiscard]] std::vector<TransferMode> transfersFor(
    BlockSet blocks, int32_t model, Direction direction);

} // namespace ornis
