#pragma once

#include <QValidator>

namespace ornis {

// Accepts a text only while every character of it has a Windows-1250 byte: a character
// the model's code page cannot hold is refused as it is typed or pasted.
class Windows1250Validator final : public QValidator
{
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override;
};

} // namespace ornis
