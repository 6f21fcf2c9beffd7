#pragma once

#include "link/BlockTable.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

// The names of the blocks as Qt texts: the keys and titles of the block table, and the
// Czech names the window and `diff` show; and the transfers that move a set of blocks.

namespace ornis {

// The block named `key`, in any case.
[[nodiscard]] std::optional<Block> blockNamed(QStringView key);
// "settings", "services", ...: the keys of all blocks in block order.
[[nodiscard]] QStringList blockKeys();
// "Zkrácené volby": the Czech name of a block, as the window's pages and the column
// "Blok" of `diff` name it; "Konfigurace" for none, the exchange block (model, modules).
[[nodiscard]] QString blockCaption(std::optional<Block> block);
// "settings, short dials": the titles of `blocks` in block order.
[[nodiscard]] QString blockTitles(BlockSet blocks);

// The transfers that move `blocks` of an exchange of `model`, in order: the transfer of all
// blocks when they are all the model has, else one transfer per block. Blocks the model
// does not have are left out.
[[nodiscard]] std::vector<TransferMode> transfersFor(
    BlockSet blocks, int32_t model, Direction direction);

} // namespace ornis
