#include "ShortDialPage.h"

#include "config/ExchangeConfig.h"
#include "ui/pages/DialTabView.h"

namespace ornis {

ShortDialPage::ShortDialPage(ExchangeConfig &config, UserDialogs & /*dialogs*/, QWidget *parent)
    : DialPage(DialTable::ShortDials, Block::ShortDials, parent)
    , config_(config)
{
    connect(&rows(), &DialTabView::tabLeaving, this, &ShortDialPage::tcShortDialsChanging);
    connect(&rows(), &DialTabView::tabEntered, this, &ShortDialPage::tcShortDialsChange);
    tcShortDialsChange();
}

void ShortDialPage::FillShortDialPage()
{
    rows().fill(config_.ShortDialTable);
}

void ShortDialPage::StoreShortDialPage()
{
    rows().store(config_.ShortDialTable);
}

void ShortDialPage::fillRows()
{
    FillShortDialPage();
}

void ShortDialPage::storeRows()
{
    StoreShortDialPage();
}

void ShortDialPage::tcShortDialsChanging()
{
    StoreShortDialPage();
}

void ShortDialPage::tcShortDialsChange()
{
    rows().showRowsOfTab();
    FillShortDialPage();
}

} // namespace ornis
