#pragma once

#include <QWidget>

#include "ui/ConfigView.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "Zkrácené volby": a window of ten or twenty short dials, tab by tab.
class ShortDialPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    ShortDialPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh() override;

private:
    ExchangeConfig &config_;
    UserDialogs &dialogs_;
};

} // namespace ornis
