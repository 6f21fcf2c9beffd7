#include "Comparison.h"

#include "BlockNames.h"
#include "ItemNames.h"
#include "config/ConfigFields.h"

namespace ornis {

std::vector<Difference> compareConfigs(
    const ExchangeConfig &left, const ExchangeConfig &right, BlockSet blocks)
{
    std::vector<Difference> differences;
    for (const FieldRef &ref : differingFields(left, right, blocks, true)) {
        const std::optional<Block> block = blockOf(ref.field);
        differences.push_back(
            {blockCaption(block), itemName(ref), valueText(left, ref), valueText(right, ref)});
    }
    return differences;
}

} // namespace ornis
