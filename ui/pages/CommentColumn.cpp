#include "CommentColumn.h"

#include "ui/editing/FieldBinding.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/CommentEdit.h"

#include <QLabel>

namespace ornis {

namespace {
// The fields touch each other: one field a grid row, grid line included.
constexpr int FieldGap = 1;
} // namespace

CommentColumn::CommentColumn(const QString &label, const CellGrid &grid, FieldBinding &binding,
    Field comments, const QStringList &names, int width, QWidget *parent)
    : QWidget(parent)
{
    const auto place = [&](QWidget *widget, int row) {
        const QRect cell = grid.cellRect(0, row);
        widget->setGeometry(0, cell.top(), width, cell.height() + FieldGap);
    };
    auto *caption = new QLabel(label, this);
    place(caption, 0);
    for (int i = 0; i < int(names.size()); ++i) {
        auto *edit = new CommentEdit(this);
        edit->setObjectName(names[i]);
        place(edit, i + 1);
        binding.bind(edit, {comments, i});
    }
    setFixedSize(width, grid.height());
}

} // namespace ornis
