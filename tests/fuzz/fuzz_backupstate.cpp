// Any bytes given to the reader of a fleet backup's state file (DIR/state.json, which people
// may edit or a full disk may have cut): it must never fail badly, and what it takes must
// come back the same once written again.

#include "cli/BackupState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace ornis::cli;
    SiteStates states;
    if (!statesFromJson(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), states)
             .ok())
        return 0;
    SiteStates again;
    if (!statesFromJson(statesToJson(states), again).ok() || again != states)
        std::abort();
    for (const auto &[name, state] : states) {
        if (state.failures < 0)
            std::abort();
    }
    return 0;
}
