#include "CommentEdit.h"

#include "ui/widgets/Windows1250Validator.h"

namespace ornis {

CommentEdit::CommentEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setValidator(new Windows1250Validator(this));
}

} // namespace ornis
