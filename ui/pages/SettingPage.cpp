#include "SettingPage.h"

#include "config/ExchangeConfig.h"
#include "ui/pages/ExtensionsTab.h"
#include "ui/pages/GlobalTab.h"
#include "ui/pages/RingTab.h"
#include "ui/widgets/CellGrid.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace ornis {

SettingPage::SettingPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , config_(config)
{
    setObjectName(QStringLiteral("SettingPage"));
    using enum SettingsGrid;
    extensionsTab_ = new ExtensionsTab(config, makeGrid(Extension));
    ringTab_ = new RingTab(config, dialogs, makeGrid(DayRing), makeGrid(NightRing));
    globalTab_ = new GlobalTab(config, makeGrid(GlobalLine), makeGrid(GlobalExtension));

    tcSetting_ = new QTabWidget(this);
    tcSetting_->setObjectName(QStringLiteral("tcSetting"));
    tcSetting_->setTabPosition(QTabWidget::West);
    extensionsTab_->setObjectName(QStringLiteral("tsExtensions"));
    ringTab_->setObjectName(QStringLiteral("tsRing"));
    globalTab_->setObjectName(QStringLiteral("tsGlobal"));
    tcSetting_->addTab(extensionsTab_, QStringLiteral("Pobočky"));
    tcSetting_->addTab(ringTab_, QStringLiteral("Vyzvánění"));
    tcSetting_->addTab(globalTab_, QStringLiteral("Globální parametry"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tcSetting_);
}

CellGrid *SettingPage::makeGrid(SettingsGrid grid)
{
    auto *view = new CellGrid(gridRules(grid));
    view->setDisabledCells([this, grid](int column, int row) {
        return !cellInUse(gridRules(grid).kindAt(column, row), config_.ExchangeType);
    });
    connect(view, &CellGrid::cellPressed, this,
        [this, grid](int column, int row) { cellPressed(grid, column, row); });
    grids_[std::size_t(grid)] = view;
    return view;
}

void SettingPage::cellPressed(SettingsGrid grid, int column, int row)
{
    if (pressCell(config_, grid, column, row))
        showCell(grid, column, row);
}

void SettingPage::showCell(SettingsGrid grid, int column, int row)
{
    if (const auto text = cellText(config_, grid, column, row))
        grids_[std::size_t(grid)]->setCellText(
            column, row, QString::fromLatin1(text->data(), qsizetype(text->size())));
}

void SettingPage::refreshGrid(SettingsGrid grid)
{
    const GridShape shape = gridRules(grid).shape;
    for (int row = 1; row <= shape.rows; ++row) {
        for (int column = 1; column <= shape.columns; ++column)
            showCell(grid, column, row);
    }
}

void SettingPage::RefreshExtensionGrid()
{
    refreshGrid(SettingsGrid::Extension);
}

void SettingPage::RefreshDayRingGrid()
{
    refreshGrid(SettingsGrid::DayRing);
}

void SettingPage::RefreshNightRingGrid()
{
    refreshGrid(SettingsGrid::NightRing);
}

void SettingPage::RefreshGlobalLineGrid()
{
    refreshGrid(SettingsGrid::GlobalLine);
}

void SettingPage::RefreshGlobalExtensionGrid()
{
    refreshGrid(SettingsGrid::GlobalExtension);
}

void SettingPage::refresh()
{
    RefreshExtensionGrid();
    RefreshDayRingGrid();
    RefreshNightRingGrid();
    RefreshGlobalLineGrid();
    RefreshGlobalExtensionGrid();
    extensionsTab_->refresh();
    ringTab_->refresh();
    globalTab_->refresh();
}

void SettingPage::valuesStored(Block block)
{
    // The grids wait for the end of the block; the other controls follow each byte. Both
    // leave a control alone that shows its value already.
    if (block != Block::Settings)
        return;
    globalTab_->refresh();
    ringTab_->refreshTimes();
}

void SettingPage::refreshGrids()
{
    RefreshExtensionGrid();
    RefreshDayRingGrid();
    RefreshNightRingGrid();
    RefreshGlobalExtensionGrid();
    RefreshGlobalLineGrid();
}

void SettingPage::exchangeModelChanged()
{
    // Row GE is drawn disabled or not by the model chosen now.
    grids_[std::size_t(SettingsGrid::GlobalExtension)]->update();
}

} // namespace ornis
