#include "Blocks.h"

namespace ornis {

void copyBlocks(const ExchangeConfig &from, ExchangeConfig &to, BlockSet blocks)
{
    if (blocks.contains(Block::Settings)) {
        to.Grids = from.Grids;
        to.ExtensionComments = from.ExtensionComments;
        to.DayRingComments = from.DayRingComments;
        to.NightRingComments = from.NightRingComments;
        to.DayStart = from.DayStart;
        to.NightStart = from.NightStart;
        to.G7U = from.G7U;
        to.G0Days = from.G0Days;
        to.FaxExtension = from.FaxExtension;
        to.Counters = from.Counters;
    }
    if (blocks.contains(Block::Services)) {
        to.Services = from.Services;
        to.GeneralRing = from.GeneralRing;
        to.BlockRedirect = from.BlockRedirect;
    }
    if (blocks.contains(Block::ShortDials))
        to.ShortDialTable = from.ShortDialTable;
    if (blocks.contains(Block::PE))
        to.PETable = from.PETable;
}

} // namespace ornis
