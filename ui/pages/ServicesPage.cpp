#include "ServicesPage.h"

#include "config/ExchangeConfig.h"
#include "ui/UserDialogs.h"

namespace ornis {

ServicesPage::ServicesPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , config_(config)
    , dialogs_(dialogs)
{}

void ServicesPage::refresh() {}

} // namespace ornis
