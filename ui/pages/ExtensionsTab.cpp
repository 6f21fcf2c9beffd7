#include "ExtensionsTab.h"

#include "config/Numbering.h"
#include "ui/pages/CommentColumn.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/TypeScale.h"

#include <QGridLayout>
#include <QLabel>

namespace ornis {

namespace {
constexpr int CommentWidth = 150;
constexpr int CaptionHeight = 18;
} // namespace

ExtensionsTab::ExtensionsTab(FieldBinding &binding, CellGrid *grid, QWidget *parent)
    : QWidget(parent)
{
    QStringList names;
    for (int e = 0; e < ExtensionCount; ++e)
        names.append(QStringLiteral("edIntrLn%1").arg(extensionNumber(e)));
    auto *comments = new CommentColumn(QStringLiteral("Kancelář:"), *grid, binding,
        Field::ExtensionComment, names, typeScaled(CommentWidth, *this), this);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    layout->addWidget(buildCaptions(*grid), 0, 0);
    layout->addWidget(grid, 1, 0, Qt::AlignTop);
    layout->addWidget(comments, 1, 1, Qt::AlignTop);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);
}

QWidget *ExtensionsTab::buildCaptions(const CellGrid &grid)
{
    // Each caption stands over a bevel spanning the four line columns of its direction.
    auto *strip = new QWidget(this);
    const int height = typeScaled(CaptionHeight, *this);
    strip->setFixedSize(grid.width(), height);
    const auto caption = [&](const QString &text, int firstColumn) {
        auto *label = new QLabel(text, strip);
        label->setFrameStyle(QFrame::Box | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        const QRect first = grid.cellRect(firstColumn, 0);
        const QRect last = grid.cellRect(firstColumn + LineCount - 1, 0);
        label->setGeometry(first.left(), 0, last.right() - first.left() + 1, height);
    };
    caption(QStringLiteral(" Vstup "), ExtensionColumn::Incoming91);
    caption(QStringLiteral(" Výstup "), ExtensionColumn::Outgoing91);
    return strip;
}

} // namespace ornis
