#include "PEPage.h"

#include "config/ExchangeConfig.h"
#include "ui/pages/DialTabView.h"

namespace ornis {

PEPage::PEPage(ExchangeConfig &config, UserDialogs & /*dialogs*/, QWidget *parent)
    : DialPage(DialTable::PE, Block::PE, parent)
    , config_(config)
{
    connect(&rows(), &DialTabView::tabLeaving, this, &PEPage::tcPEChanging);
    connect(&rows(), &DialTabView::tabEntered, this, &PEPage::tcPEChange);
    tcPEChange();
}

void PEPage::FillPEPage()
{
    rows().fill(config_.PETable);
}

void PEPage::StorePEPage()
{
    rows().store(config_.PETable);
}

void PEPage::fillRows()
{
    FillPEPage();
}

void PEPage::storeRows()
{
    StorePEPage();
}

void PEPage::tcPEChanging()
{
    StorePEPage();
}

void PEPage::tcPEChange()
{
    rows().showRowsOfTab();
    FillPEPage();
}

} // namespace ornis
