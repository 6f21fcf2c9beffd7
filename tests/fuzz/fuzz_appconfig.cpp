// Any bytes given to the preferences reader: no out-of-bounds read, and the file written
// afterwards is always the 528 bytes of its layout.

#include "config/AppConfigFile.h"
#include "config/ExchangeConfig.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis;
    ExchangeConfig config;
    decodeAppConfig({data, size}, config);
    if (encodeAppConfig(config).size() != 528)
        std::abort();
    return 0;
}
