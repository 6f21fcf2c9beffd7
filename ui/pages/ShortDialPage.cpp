#include "ShortDialPage.h"

#include "config/ExchangeConfig.h"
#include "ui/UserDialogs.h"

namespace ornis {

ShortDialPage::ShortDialPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , config_(config)
    , dialogs_(dialogs)
{}

void ShortDialPage::refresh() {}

} // namespace ornis
