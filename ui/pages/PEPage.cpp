#include "PEPage.h"

#include "config/ExchangeConfig.h"
#include "ui/UserDialogs.h"

namespace ornis {

PEPage::PEPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , config_(config)
    , dialogs_(dialogs)
{}

void PEPage::refresh() {}

} // namespace ornis
