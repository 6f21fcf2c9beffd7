#include "SentValues.h"

#include "StorableValues.h"
#include "config/ConfigFields.h"
#include "config/ExchangeConfig.h"

namespace ornis {

namespace {

void copyValue(const ExchangeConfig &from, ExchangeConfig &to, const FieldRef &ref)
{
    switch (kindOf(ref.field)) {
    case FieldKind::Integer:
    case FieldKind::Flag:
        setIntegerValue(to, ref, integerValue(from, ref));
        break;
    case FieldKind::Text:
    case FieldKind::Time:
        // `to` is not const: its text is written through the reader's reference.
        const_cast<Text &>(textValue(to, ref)) = textValue(from, ref);
        break;
    }
}

} // namespace

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
