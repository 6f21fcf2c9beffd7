#pragma once

#include "config/GridRules.h"
#include "ui/editing/ConfigView.h"
#include "ui/editing/FieldBinding.h"

#include <QWidget>

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

    // ConfigView
    void storeEdits() override;
    void showValues(const FieldRange &range) override;

private:
    CellGrid *makeGrid(SettingsGrid grid);

    FieldBinding binding_;
    QTabWidget *tcSetting_ = nullptr;
};

} // namespace ornis
