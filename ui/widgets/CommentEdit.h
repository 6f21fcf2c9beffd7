#pragma once

#include <QLineEdit>
#include <string>

namespace ornis {

// A free text of the model in a line edit: every edit is stored at once as Windows-1250
// bytes, and a character the code page cannot hold is refused as it is typed.
class CommentEdit final : public QLineEdit
{
    Q_OBJECT

public:
    explicit CommentEdit(std::string &field, QWidget *parent = nullptr);

    // Shows the text the model holds now.
    void refresh();

private:
    std::string &field_;
};

} // namespace ornis
