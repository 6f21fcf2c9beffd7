#include "CallBackTargets.h"

#include "config/ChoiceLists.h"
#include "config/ExchangeConfig.h"

namespace ornis {

std::vector<int> extensionsWithUntransferableCallBack(const ExchangeConfig &config)
{
    std::vector<int> extensions;
    for (int e = 0; e < ExtensionCount; ++e) {
        const int32_t item = config.Services[size_t(e)].BackRing;
        if (item >= FirstBackRingLineItem && item < BackRingItemCount)
            extensions.push_back(e);
    }
    return extensions;
}

} // namespace ornis
