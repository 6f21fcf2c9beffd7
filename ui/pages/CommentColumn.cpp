#include "CommentColumn.h"

#include "ui/widgets/CellGrid.h"
#include "ui/widgets/CommentEdit.h"

#include <QLabel>

namespace ornis {

namespace {
// The fields touch each other: one field a grid row, grid line included.
constexpr int FieldGap = 1;
} // namespace

CommentColumn::CommentColumn(const QString &label, const CellGrid &grid,
    std::span<std::string> fields, const QStringList &names, int width, QWidget *parent)
    : QWidget(parent)
{
    const auto place = [&](QWidget *widget, int row) {
        const QRect cell = grid.cellRect(0, row);
        widget->setGeometry(0, cell.top(), width, cell.height() + FieldGap);
    };
    auto *caption = new QLabel(label, this);
    place(caption, 0);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        auto *edit = new CommentEdit(fields[i], this);
        edit->setObjectName(names.value(qsizetype(i)));
        place(edit, int(i) + 1);
        edits_.append(edit);
    }
    setFixedSize(width, grid.height());
}

void CommentColumn::refresh()
{
    for (CommentEdit *edit : edits_)
        edit->refresh();
}

} // namespace ornis
