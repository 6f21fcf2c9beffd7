#pragma once

#include "ui/support/ConfigView.h"
#include "ui/widgets/FieldBindings.h"

#include <QWidget>
#include <vector>

class QTabWidget;

namespace ornis {

struct ExchangeConfig;
class ServicesColumn;
class UserDialogs;

// The page "Služby": general ringing and redirection blocking above, the services of the
// sixteen extensions on two sheets of eight. Every control is bound to its field; a read
// shows each value as its byte arrives.
class ServicesPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    ServicesPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void refresh() override;
    void valuesStored(Block block) override;

private:
    QWidget *buildTopStrip();
    QTabWidget *buildSheets();
    // Two blocks of four columns: extensions first..first+3 above first+4..first+7.
    QWidget *buildSheet(const char *name, int firstExtension);
    QWidget *buildBlock(int firstExtension);

    ExchangeConfig &config_;
    UserDialogs &dialogs_;
    FieldBindings bindings_;
    std::vector<ServicesColumn *> columns_;
};

} // namespace ornis
