#include "ExchangeConfig.h"

#include "Numbering.h"

namespace ornis {

namespace {
// "Kancelář " and "Státní linka " in Windows-1250.
constexpr const char *OfficePrefix = "Kancel\xE1\xF8 ";
constexpr const char *StateLinePrefix = "St\xE1tn\xED linka ";
} // namespace

ExchangeConfig::ExchangeConfig()
{
    for (int e = 0; e < ExtensionCount; ++e)
        ExtensionComments[e] = OfficePrefix + std::to_string(extensionNumber(e));
    for (int l = 0; l < LineCount; ++l) {
        DayRingComments[l] = StateLinePrefix + std::to_string(lineNumber(l));
        NightRingComments[l] = DayRingComments[l];
    }
}

} // namespace ornis
