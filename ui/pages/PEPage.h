#pragma once

#include <QWidget>

#include "ui/ConfigView.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "PE": a window of twenty PE records, tab by tab.
class PEPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    PEPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh() override;

private:
    ExchangeConfig &config_;
    UserDialogs &dialogs_;
};

} // namespace ornis
