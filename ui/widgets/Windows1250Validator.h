#pragma once

#include <QValidator>

namespace ornis {

// Refuses a typed or pasted character that the Windows-1250 code page of the model cannot
// hold, so that no character of a free text is lost or stored as "?".
class Windows1250Validator final : public QValidator
{
    Q_OBJECT

public:
    explicit Windows1250Validator(QObject *parent = nullptr);

    State validate(QString &input, int &position) const override;
};

} // namespace ornis
