#include "CommentEdit.h"

#include "common/Windows1250.h"
#include "ui/widgets/Windows1250Validator.h"

namespace ornis {

CommentEdit::CommentEdit(std::string &field, QWidget *parent)
    : QLineEdit(parent)
    , field_(field)
{
    setValidator(new Windows1250Validator(this));
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        // The validator let only convertible texts through.
        if (std::optional<std::string> bytes = toWindows1250(text))
            field_ = std::move(*bytes);
    });
}

void CommentEdit::refresh()
{
    const QString text = fromWindows1250(field_).value_or(QString());
    if (text != this->text())
        setText(text);
}

} // namespace ornis
