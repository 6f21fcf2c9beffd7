#include "Blocks.h"

#include "ConfigFields.h"

namespace ornis {

void copyBlocks(const ExchangeConfig &from, ExchangeConfig &to, BlockSet blocks)
{
    forEachField(blocks, false, [&](const FieldRef &ref) { copyValue(from, to, ref); });
}

} // namespace ornis
