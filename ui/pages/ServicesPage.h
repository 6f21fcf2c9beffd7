#pragma once

#include <QWidget>

#include "ui/ConfigView.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "Služby": the services of the sixteen extensions.
class ServicesPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    ServicesPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh() override;

private:
    ExchangeConfig &config_;
    UserDialogs &dialogs_;
};

} // namespace ornis
