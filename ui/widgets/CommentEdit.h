#pragma once

#include <QLineEdit>

namespace ornis {

// A free text of the model in a line edit: a character the model's code page cannot hold
// is refused as it is typed.
class CommentEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit CommentEdit(QWidget *parent = nullptr);
};

} // namespace ornis
