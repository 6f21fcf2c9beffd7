#include "SentValues.h"

#include "WriteRoundTrip.h"
#include "config/ConfigFields.h"
#include "config/ExchangeConfig.h"

namespace ornis {

ExchangeConfig asSentToExchange(const ExchangeConfig &config, BlockSet blocks)
{
    const ExchangeConfig held = heldByExchange(config, blocks);
    ExchangeConfig sent = config;
    for (const ChangedValue &value : valuesChangedByWrite(config, blocks)) {
        if (!value.refused)
            copyValue(held, sent, value.field);
    }
    return sent;
}

} // namespace ornis
