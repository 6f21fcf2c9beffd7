#include "SettingPage.h"

#include "config/ExchangeConfig.h"
#include "ui/UserDialogs.h"

namespace ornis {

SettingPage::SettingPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , config_(config)
    , dialogs_(dialogs)
{}

void SettingPage::refresh() {}

} // namespace ornis
