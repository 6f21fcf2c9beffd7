#include "Windows1250Validator.h"

#include "qtlink/Windows1250.h"

namespace ornis {

Windows1250Validator::Windows1250Validator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State Windows1250Validator::validate(QString &input, int & /*position*/) const
{
    return toWindows1250(input) ? Acceptable : Invalid;
}

} // namespace ornis
