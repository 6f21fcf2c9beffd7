#pragma once

#include <QWidget>

#include "ui/ConfigView.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "Nastavení": the five settings grids and the other settings.
class SettingPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    SettingPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh() override;

private:
    ExchangeConfig &config_;
    UserDialogs &dialogs_;
};

} // namespace ornis
