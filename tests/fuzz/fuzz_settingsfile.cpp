// Any bytes given to the settings file reader: it must never read out of bounds, and what
// it accepts must write back to a file that reads to the same bytes again.

#include "config/ExchangeConfig.h"
#include "config/FactoryDefaults.h"
#include "config/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis;
    static const ExchangeConfig start = factoryConfig();
    ExchangeConfig config = start;
    if (!decodeSettingsFile({data, size}, config).ok()) {
        if (!(config == start))
            std::abort(); // a failed load changed the configuration
        return 0;
    }
    std::vector<uint8_t> first;
    if (!encodeSettingsFile(config, first).ok())
        std::abort(); // every loaded time must be savable
    ExchangeConfig again = start;
    std::vector<uint8_t> second;
    if (!decodeSettingsFile(first, again).ok() || !encodeSettingsFile(again, second).ok()
        || first != second)
        std::abort();
    return 0;
}
