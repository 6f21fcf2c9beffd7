#pragma once

#include "ConfigFields.h"

#include <utility>

namespace ornis {

// Sets a text or time value; a field of another kind stays as it is.
inline void setFieldText(ExchangeConfig &config, const FieldRef &ref, Text text)
{
    const FieldKind kind = kindOf(ref.field);
    if (kind != FieldKind::Text && kind != FieldKind::Time)
        return;
    // For these kinds textValue hands out the configuration's own field.
    const_cast<Text &>(textValue(config, ref)) = std::move(text);
}

} // namespace ornis
