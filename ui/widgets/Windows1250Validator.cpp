#include "Windows1250Validator.h"

#include "common/Windows1250.h"

namespace ornis {

QValidator::State Windows1250Validator::validate(QString &input, int &) const
{
    return toWindows1250(input) ? Acceptable : Invalid;
}

} // namespace ornis
