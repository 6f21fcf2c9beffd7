#include "DialTabView.h"

#include "ui/widgets/DialNumberEdit.h"
#include "ui/widgets/SideTabBar.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

namespace ornis {

namespace {

enum Column { LabelColumn, LineColumn, NumberColumn, CommentColumn };

// The short-dial page heads its columns; the PE page has no captions.
void addCaptions(QGridLayout &grid, QWidget *panel)
{
    const QString captions[] = {QStringLiteral("Státní:"), QStringLiteral("Telefonní číslo:"),
        QStringLiteral("Komentář:")};
    int column = LineColumn;
    for (const QString &caption : captions)
        grid.addWidget(new QLabel(caption, panel), 0, column++);
}

} // namespace

DialTabView::DialTabView(DialTable table, QWidget *parent)
    : QWidget(parent)
    , table_(table)
{
    const bool shortDials = table == DialTable::ShortDials;
    tabs_ = new SideTabBar(this);
    tabs_->setObjectName(shortDials ? QStringLiteral("tcShortDials") : QStringLiteral("tcPE"));
    addTabs(*tabs_, table);

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *panels = new QHBoxLayout(frame);
    panels->setContentsMargins(8, 6, 8, 6);
    panels->setSpacing(12);
    for (std::size_t panel = 0; panel < panels_.size(); ++panel) {
        panels_[panel] = buildPanel(int(panel));
        panels->addWidget(panels_[panel], 1, Qt::AlignTop);
    }
    // The left panel keeps its place and width on a tab that hides the right one.
    QSizePolicy policy = panels_[1]->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    panels_[1]->setSizePolicy(policy);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_, 0, Qt::AlignTop);
    layout->addWidget(frame, 1);

    showRowsOfTab();
    connect(tabs_, &QTabBar::currentChanged, this, &DialTabView::onTabChosen);
}

DialTabView::~DialTabView() = default;

void DialTabView::addTabs(QTabBar &tabs, DialTable table)
{
    for (const char *caption : dialTabCaptions(table))
        tabs.addTab(QString::fromLatin1(caption));
}

int DialTabView::tabsLength(DialTable table, QWidget &context)
{
    SideTabBar tabs(&context);
    addTabs(tabs, table);
    tabs.ensurePolished();
    return tabs.sizeHint().height();
}

QWidget *DialTabView::buildPanel(int panel)
{
    auto *widget = new QWidget(this);
    widget->setObjectName(DialRow::controlName("pnl", table_, panel + 1));
    auto *grid = new QGridLayout(widget);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    // The comment takes the room the fixed fields leave; on the PE page the room stays
    // empty, right of the numbers.
    grid->setColumnStretch(CommentColumn, 1);
    // Room for the widest label from the start: a row label is set only when its tab shows.
    // Digits are equally wide, so the first record's label is as wide as any.
    grid->setColumnMinimumWidth(LabelColumn,
        fontMetrics().horizontalAdvance(QString::fromStdString(dialRowLabel(table_, 0))));
    const bool captions = table_ == DialTable::ShortDials;
    if (captions)
        addCaptions(*grid, widget);
    for (int i = 0; i < DialPanelRowCount; ++i) {
        const int row = panel * DialPanelRowCount + i;
        auto &dialRow = rows_[std::size_t(row)];
        dialRow = std::make_unique<DialRow>(table_, row + 1, widget);
        const int gridRow = i + (captions ? 1 : 0);
        grid->addWidget(dialRow->label(), gridRow, LabelColumn);
        grid->addWidget(dialRow->line(), gridRow, LineColumn);
        grid->addWidget(dialRow->number(), gridRow, NumberColumn);
        if (QLineEdit *comment = dialRow->comment())
            grid->addWidget(comment, gridRow, CommentColumn);
    }
    return widget;
}

void DialTabView::showRowsOfTab()
{
    for (int row = 0; row < DialRowCount; ++row) {
        if (const std::optional<int> record = dialRecordAt(table_, tabInView_, row)) {
            rows_[std::size_t(row)]->label()->setText(
                QString::fromStdString(dialRowLabel(table_, *record)));
        }
    }
    panels_[1]->setVisible(dialRowsShown(table_, tabInView_) > DialPanelRowCount);
}

void DialTabView::onTabChosen(int tab)
{
    if (tab < 0)
        return;
    emit tabLeaving(tabInView_);
    tabInView_ = tab;
    emit tabEntered(tab);
}

} // namespace ornis
