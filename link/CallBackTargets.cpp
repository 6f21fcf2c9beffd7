#include "CallBackTargets.h"

#include "config/ChoiceLists.h"
#include "config/ExchangeConfig.h"

namespace ornis {

std::vector<int> extensionsWithUntransferableCallBack(const ExchangeConfig &config)
{
    std::vector<int> extensions;
    for (int e = 0; e < ExtensionCount; ++e) {
        if (isLineCallBack(config.Services[size_t(e)].BackRing))
            extensions.push_back(e);
    }
    return extensions;
}

} // namespace ornis
