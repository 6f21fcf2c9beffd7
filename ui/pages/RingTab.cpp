#include "RingTab.h"

#include "config/Numbering.h"
#include "ui/dialogs/UserDialogs.h"
#include "ui/editing/FieldBinding.h"
#include "ui/pages/CommentColumn.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/MaskedTimeEdit.h"
#include "ui/widgets/TypeScale.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace ornis {

namespace {
// With the grid beside it, as wide as the page allows at 8-point type.
constexpr int CommentWidth = 111;
constexpr int TimeWidth = 52;
} // namespace

RingTab::RingTab(FieldBinding &binding, UserDialogs &dialogs, CellGrid *dayGrid,
    CellGrid *nightGrid, QWidget *parent)
    : QWidget(parent)
    , binding_(binding)
    , dialogs_(dialogs)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    addRingGrid(layout, 0, QStringLiteral("Den:"), dayGrid, Field::DayRingComment,
        QStringLiteral("edDayRing"));
    layout->setRowMinimumHeight(2, 8);
    addRingGrid(layout, 3, QStringLiteral("Noc:"), nightGrid, Field::NightRingComment,
        QStringLiteral("edNightRing"));
    layout->setRowMinimumHeight(5, 8);
    layout->addWidget(buildTimes(), 6, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(7, 1);
}

void RingTab::addRingGrid(QGridLayout *layout, int row, const QString &caption, CellGrid *grid,
    Field comments, const QString &commentPrefix)
{
    QStringList names;
    for (int l = 0; l < LineCount; ++l)
        names.append(commentPrefix + QString::number(lineNumber(l)));
    auto *column = new CommentColumn(QStringLiteral("Komentář:"), *grid, binding_, comments, names,
        typeScaled(CommentWidth, *this), this);
    layout->addWidget(new QLabel(caption, this), row, 0);
    layout->addWidget(grid, row + 1, 0, Qt::AlignTop);
    layout->addWidget(column, row + 1, 1, Qt::AlignTop);
}

QWidget *RingTab::buildTimes()
{
    auto *group = new QGroupBox(QStringLiteral(" Režim D/N "), this);
    group->setObjectName(QStringLiteral("gbDayNight"));
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(8, 4, 8, 6);
    addTime(layout, QStringLiteral("Den:"), "meDay", Field::DayStart);
    layout->addSpacing(12);
    addTime(layout, QStringLiteral("Noc:"), "meNight", Field::NightStart);
    return group;
}

void RingTab::addTime(QHBoxLayout *layout, const QString &caption, const char *name, Field field)
{
    auto *edit = new MaskedTimeEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(typeScaled(TimeWidth, *this));
    auto *label = new QLabel(caption, this);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    binding_.bind(edit, {field});
    connect(edit, &MaskedTimeEdit::refusedOnLeave, this,
        [this] { dialogs_.showError(this, MaskedTimeEdit::InvalidInputMessage); });
}

} // namespace ornis
