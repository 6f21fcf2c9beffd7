#pragma once

#include "link/BlockTable.h"

#include <QString>
#include <vector>

// What a transfer moves, step by step, as the window tells the user about it.

namespace ornis {

// The modes a transfer started in `mode` runs through, in order, for an exchange of
// `model`: the settings block with the day/night times after it, a transfer of all blocks
// with every block of the model.
[[nodiscard]] std::vector<TransferMode> transferSteps(TransferMode mode, int32_t model);

// What travels in `mode`: "Služby", "Režim D/N", "Datum a čas".
[[nodiscard]] QString stepCaption(TransferMode mode);

// The blocks of the configuration a transfer started in `mode` moves; none for the clock.
[[nodiscard]] BlockSet blocksMovedBy(TransferMode mode, int32_t model);

} // namespace ornis
