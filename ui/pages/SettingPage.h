#pragma once

#include "config/GridRules.h"
#include "ui/editing/ConfigView.h"
#include "ui/editing/FieldBinding.h"

#include <QWidget>
#include <array>

class QTabWidget;

namespace ornis {

class CellGrid;
class ConfigEditor;
class UserDialogs;

// The page "Nastavení": the five settings grids and the other settings, on three side
// tabs. Clicks on the grids and edits of the controls go to the editor at once.
class SettingPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    SettingPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent = nullptr);

    // Each sets every data cell's text of its grid from the model; a byte outside the
    // cell's value set leaves the text the cell had.
    void RefreshExtensionGrid();
    void RefreshDayRingGrid();
    void RefreshNightRingGrid();
    void RefreshGlobalLineGrid();
    void RefreshGlobalExtensionGrid();

    // ConfigView
    void refresh() override;
    void storeEdits() override;
    // A read shows the other controls as it goes; the grids wait for refreshGrids.
    void valuesStored(const FieldRange &range) override;
    void valuesChanged(const FieldRange &range) override;
    void refreshGrids() override;
    void exchangeModelChanged() override;

private:
    CellGrid *makeGrid(SettingsGrid grid);
    void refreshGrid(SettingsGrid grid);
    void showCell(SettingsGrid grid, int column, int row);
    void showCells(SettingsGrid grid, const FieldRange &range);
    void cellPressed(SettingsGrid grid, int column, int row);

    ConfigEditor &editor_;
    FieldBinding binding_;
    std::array<CellGrid *, SettingsGridCount> grids_ {};
    QTabWidget *tcSetting_ = nullptr;
};

} // namespace ornis
