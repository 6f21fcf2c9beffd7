#include "SettingPage.h"

#include "config/ConfigFields.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/pages/ExtensionsTab.h"
#include "ui/pages/GlobalTab.h"
#include "ui/pages/RingTab.h"
#include "ui/widgets/CellGrid.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace ornis {

namespace {

// The value behind each grid, in the order of SettingsGrid.
constexpr Field GridFields[SettingsGridCount] = {Field::ExtensionGrid, Field::DayRingGrid,
    Field::NightRingGrid, Field::GlobalLineGrid, Field::GlobalExtensionGrid};

FieldRef cellRef(SettingsGrid grid, int column, int row)
{
    return {GridFields[std::size_t(grid)], int(gridRules(grid).shape.cellIndex(column, row))};
}

} // namespace

SettingPage::SettingPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , editor_(editor)
    , binding_(editor)
{
    setObjectName(QStringLiteral("SettingPage"));
    using enum SettingsGrid;
    auto *extensionsTab = new ExtensionsTab(binding_, makeGrid(Extension));
    auto *ringTab = new RingTab(binding_, dialogs, makeGrid(DayRing), makeGrid(NightRing));
    auto *globalTab = new GlobalTab(binding_, makeGrid(GlobalLine), makeGrid(GlobalExtension));

    tcSetting_ = new QTabWidget(this);
    tcSetting_->setObjectName(QStringLiteral("tcSetting"));
    tcSetting_->setTabPosition(QTabWidget::West);
    extensionsTab->setObjectName(QStringLiteral("tsExtensions"));
    ringTab->setObjectName(QStringLiteral("tsRing"));
    globalTab->setObjectName(QStringLiteral("tsGlobal"));
    tcSetting_->addTab(extensionsTab, QStringLiteral("Pobočky"));
    tcSetting_->addTab(ringTab, QStringLiteral("Vyzvánění"));
    tcSetting_->addTab(globalTab, QStringLiteral("Globální parametry"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tcSetting_);
}

CellGrid *SettingPage::makeGrid(SettingsGrid grid)
{
    auto *view = new CellGrid(gridRules(grid));
    view->setDisabledCells([this, grid](int column, int row) {
        return !cellInUse(gridRules(grid).kindAt(column, row), editor_.config().ExchangeType);
    });
    connect(view, &CellGrid::cellPressed, this,
        [this, grid](int column, int row) { cellPressed(grid, column, row); });
    grids_[std::size_t(grid)] = view;
    return view;
}

void SettingPage::cellPressed(SettingsGrid grid, int column, int row)
{
    const GridRules &rules = gridRules(grid);
    const CellKind kind = rules.kindAt(column, row);
    if (!rules.shape.contains(column, row) || !cellInUse(kind, editor_.config().ExchangeType))
        return;
    // The cell shows its new text when the editor announces the value.
    const FieldRef ref = cellRef(grid, column, row);
    const auto value = uint8_t(integerValue(editor_.config(), ref));
    editor_.setValue(ref, int64_t(nextCellValue(kind, value)));
}

void SettingPage::showCell(SettingsGrid grid, int column, int row)
{
    if (const auto text = cellText(editor_.config(), grid, column, row))
        grids_[std::size_t(grid)]->setCellText(
            column, row, QString::fromLatin1(text->data(), qsizetype(text->size())));
}

void SettingPage::showCells(SettingsGrid grid, const FieldRange &range)
{
    const Field field = GridFields[std::size_t(grid)];
    if (range.last.field < field || field < range.first.field)
        return;
    const GridShape shape = gridRules(grid).shape;
    for (int row = 1; row <= shape.rows; ++row) {
        for (int column = 1; column <= shape.columns; ++column) {
            if (contains(range, cellRef(grid, column, row)))
                showCell(grid, column, row);
        }
    }
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
    binding_.showAll();
}

void SettingPage::storeEdits()
{
    binding_.commitTyped();
}

void SettingPage::valuesStored(const FieldRange &range)
{
    binding_.show(range);
}

void SettingPage::valuesChanged(const FieldRange &range)
{
    binding_.show(range);
    for (int grid = 0; grid < SettingsGridCount; ++grid)
        showCells(SettingsGrid(grid), range);
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
