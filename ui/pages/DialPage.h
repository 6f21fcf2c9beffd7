#pragma once

#include "DialPageWindows.h"
#include "ui/editing/ConfigView.h"
#include "ui/editing/FieldBinding.h"

#include <QWidget>

namespace ornis {

class ConfigEditor;
class DialTabView;

// The page "Zkrácené volby" or "PE", by its table: a window of ten or twenty records of
// the table, tab by tab. The rows are bound to the records of the tab in view; the table
// is the only store.
class DialPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    DialPage(DialTable table, ConfigEditor &editor, QWidget *parent = nullptr);

    // Binds the rows of the tab in view to its records and shows them (FillShortDialPage,
    // FillPEPage).
    void fillRows();
    // Commits what the user is typing in a row (StoreShortDialPage, StorePEPage).
    void storeRows();

    // ConfigView
    void storeEdits() override { storeRows(); }
    void showValues(const FieldRange &range) override { binding_.show(range); }

private:
    // tcShortDialsChanging, tcPEChanging: the tab left keeps what was typed into it.
    void tabChanging();
    // tcShortDialsChange, tcPEChange: the tab chosen shows its labels and records.
    void tabChange();
    void bindRow(int row, int record);

    const DialTable table_;
    FieldBinding binding_;
    DialTabView *rows_;
};

} // namespace ornis
