#include "DialPage.h"

#include "ui/pages/DialTabView.h"
#include "ui/widgets/DialNumberEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ornis {

namespace {

struct RecordFields
{
    Field line;
    Field number;
    Field comment;
};

RecordFields recordFields(DialTable table)
{
    if (table == DialTable::ShortDials)
        return {Field::ShortDialLine, Field::ShortDialNumber, Field::ShortDialComment};
    return {Field::PELine, Field::PENumber, Field::PENumber};
}

// Tab 1 shows all twenty rows: the rows start bound to its records.
constexpr int FullTab = 1;

} // namespace

DialPage::DialPage(DialTable table, ConfigEditor &editor, QWidget *parent)
    : QWidget(parent)
    , table_(table)
    , binding_(editor)
    , rows_(new DialTabView(table, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rows_);

    const RecordFields fields = recordFields(table);
    for (int row = 0; row < DialRowCount; ++row) {
        const int record = dialRecordAt(table, FullTab, row).value_or(0);
        const DialRow &controls = rows_->row(row);
        binding_.bind(controls.line(), {fields.line, record});
        binding_.bind(controls.number(), {fields.number, record});
        if (QLineEdit *comment = controls.comment())
            binding_.bind(comment, {fields.comment, record}, true);
    }
    connect(rows_, &DialTabView::tabLeaving, this, &DialPage::tabChanging);
    connect(rows_, &DialTabView::tabEntered, this, &DialPage::tabChange);
    tabChange();
}

void DialPage::bindRow(int row, int record)
{
    const RecordFields fields = recordFields(table_);
    const DialRow &controls = rows_->row(row);
    binding_.rebind(controls.line(), {fields.line, record});
    binding_.rebind(controls.number(), {fields.number, record});
    if (QLineEdit *comment = controls.comment())
        binding_.rebind(comment, {fields.comment, record});
}

void DialPage::fillRows()
{
    // Rows the tab does not show keep what they showed before.
    for (int row = 0; row < DialRowCount; ++row) {
        if (const std::optional<int> record = dialRecordAt(table_, rows_->tabInView(), row))
            bindRow(row, *record);
    }
}

void DialPage::storeRows()
{
    binding_.commitTyped();
}

void DialPage::tabChanging()
{
    storeRows();
}

void DialPage::tabChange()
{
    rows_->showRowsOfTab();
    fillRows();
}

} // namespace ornis
