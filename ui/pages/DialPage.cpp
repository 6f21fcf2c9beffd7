#include "DialPage.h"

#include "ui/pages/DialTabView.h"

#include <QVBoxLayout>

namespace ornis {

DialPage::DialPage(DialTable table, Block block, QWidget *parent)
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

void DialPage::valuesStored(Block block)
{
    if (block == block_)
        fillRows();
}

} // namespace ornis
