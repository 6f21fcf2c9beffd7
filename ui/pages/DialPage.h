#pragma once

#include "config/DialPageWindows.h"
#include "ui/support/ConfigView.h"

#include <QWidget>

namespace ornis {

class DialTabView;

// What the short-dial and PE pages share: a window of rows on their table, filled from it
// when the model changed under them and stored into it when the window asks for the edits.
class DialPage : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    void storeEdits() override;
    void refresh() override;
    // A read fills the rows after every byte, so that they follow the records as they
    // arrive; only what changed is shown anew.
    void valuesStored(Block block) override;

protected:
    DialPage(DialTable table, Block block, QWidget *parent);

    [[nodiscard]] DialTabView &rows() const { return *rows_; }

    // The table's records of the tab in view into its rows, and back.
    virtual void fillRows() = 0;
    virtual void storeRows() = 0;

private:
    const Block block_;
    DialTabView *rows_;
};

} // namespace ornis
