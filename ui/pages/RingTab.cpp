#include "RingTab.h"

#include "common/Windows1250.h"
#include "config/ExchangeConfig.h"
#include "config/Numbering.h"
#include "ui/pages/CommentColumn.h"
#include "ui/support/UserDialogs.h"
#include "ui/widgets/CellGrid.h"
#include "ui/widgets/MaskedTimeEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace ornis {

namespace {
constexpr int CommentWidth = 116;
constexpr int TimeWidth = 52;
} // namespace

RingTab::RingTab(ExchangeConfig &config, UserDialogs &dialogs, CellGrid *dayGrid,
    CellGrid *nightGrid, QWidget *parent)
    : QWidget(parent)
    , config_(config)
    , dialogs_(dialogs)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(2);
    dayComments_ = addRingGrid(layout, 0, QStringLiteral("Den:"), dayGrid, config.DayRingComments,
        QStringLiteral("edDayRing"));
    layout->setRowMinimumHeight(2, 8);
    nightComments_ = addRingGrid(layout, 3, QStringLiteral("Noc:"), nightGrid,
        config.NightRingComments, QStringLiteral("edNightRing"));
    layout->setRowMinimumHeight(5, 8);
    layout->addWidget(buildTimes(), 6, 0, 1, 2, Qt::AlignLeft);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(7, 1);
}

CommentColumn *RingTab::addRingGrid(QGridLayout *layout, int row, const QString &caption,
    CellGrid *grid, std::span<std::string> comments, const QString &commentPrefix)
{
    QStringList names;
    for (int l = 0; l < LineCount; ++l)
        names.append(commentPrefix + QString::number(lineNumber(l)));
    auto *column = new CommentColumn(
        QStringLiteral("Komentář:"), *grid, comments, names, CommentWidth, this);
    layout->addWidget(new QLabel(caption, this), row, 0);
    layout->addWidget(grid, row + 1, 0, Qt::AlignTop);
    layout->addWidget(column, row + 1, 1, Qt::AlignTop);
    return column;
}

QWidget *RingTab::buildTimes()
{
    auto *group = new QGroupBox(QStringLiteral(" Režim D/N "), this);
    group->setObjectName(QStringLiteral("gbDayNight"));
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(8, 4, 8, 6);
    meDay_ = addTime(layout, QStringLiteral("Den:"), "meDay", config_.DayStart);
    layout->addSpacing(12);
    meNight_ = addTime(layout, QStringLiteral("Noc:"), "meNight", config_.NightStart);
    return group;
}

MaskedTimeEdit *RingTab::addTime(
    QHBoxLayout *layout, const QString &caption, const char *name, std::string &field)
{
    auto *edit = new MaskedTimeEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(TimeWidth);
    auto *label = new QLabel(caption, this);
    label->setBuddy(edit);
    layout->addWidget(label);
    layout->addWidget(edit);
    connect(edit, &MaskedTimeEdit::modelTextEdited, this, [&field](const QString &text) {
        if (std::optional<std::string> bytes = toWindows1250(text))
            field = std::move(*bytes);
    });
    connect(edit, &MaskedTimeEdit::refusedOnLeave, this,
        [this] { dialogs_.showError(this, MaskedTimeEdit::InvalidInputMessage); });
    return edit;
}

void RingTab::refresh()
{
    dayComments_->refresh();
    nightComments_->refresh();
    refreshTimes();
}

void RingTab::refreshTimes()
{
    // A field that shows its model text already keeps its cursor and its undo.
    const auto show = [](MaskedTimeEdit *edit, const std::string &field) {
        const QString text = fromWindows1250(field).value_or(QString());
        if (edit->modelText() != text)
            edit->setModelText(text);
    };
    show(meDay_, config_.DayStart);
    show(meNight_, config_.NightStart);
}

} // namespace ornis
