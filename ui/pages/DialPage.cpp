#include "DialPage.h"

#include "ui/pages/DialTabView.h"

#include <QVBoxLayout>

namespace ornis {

DialPage::DialPage(DialTable table, ConfigBlock block, QWidget *parent)
    : QWidget(parent)
    , block_(block)
    , rows_(new DialTabView(table, this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(rows_);
}

void DialPage::storeEdits()
{
    storeRows();
}

void DialPage::refresh()
{
    fillRows();
}

void DialPage::valuesStored(const FieldRange &range)
{
    const Block shown = block_ == ConfigBlock::PE ? Block::PE : Block::ShortDials;
    if (blockOf(range.first.field) == shown)
        fillRows();
}

} // namespace ornis
