#pragma once

#include "config/GridRules.h"
#include "ui/support/ConfigView.h"

#include <QWidget>
#include <array>

class QTabWidget;

namespace ornis {

struct ExchangeConfig;
class CellGrid;
class ExtensionsTab;
class GlobalTab;
class RingTab;
class UserDialogs;

// The page "Nastavení": the five settings grids and the other settings, on three side
// tabs. Clicks on the grids and edits of the controls go into the model at once.
class SettingPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    SettingPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    // Each sets every data cell's text of its grid from the model; a byte outside the
    // cell's value set leaves the text the cell had.
    void RefreshExtensionGrid();
    void RefreshDayRingGrid();
    void RefreshNightRingGrid();
    void RefreshGlobalLineGrid();
    void RefreshGlobalExtensionGrid();

    // ConfigView
    void refresh() override;
    void valuesStored(Block block) override;
    void refreshGrids() override;
    void exchangeModelChanged() override;

private:
    CellGrid *makeGrid(SettingsGrid grid);
    void refreshGrid(SettingsGrid grid);
    void showCell(SettingsGrid grid, int column, int row);
    void cellPressed(SettingsGrid grid, int column, int row);

    ExchangeConfig &config_;
    std::array<CellGrid *, SettingsGridCount> grids_ {};
    QTabWidget *tcSetting_ = nullptr;
    ExtensionsTab *extensionsTab_ = nullptr;
    RingTab *ringTab_ = nullptr;
    GlobalTab *globalTab_ = nullptr;
};

} // namespace ornis
