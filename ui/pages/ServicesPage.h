#pragma once

#include "ui/editing/ConfigView.h"
#include "ui/editing/FieldBinding.h"

#include <QWidget>

class QTabWidget;

namespace ornis {

class ConfigEditor;
class UserDialogs;

// The page "Služby": general ringing and redirection blocking above, the services of the
// sixteen extensions on two sheets of eight. Every control is bound to its value; a read
// shows each value as its byte arrives.
class ServicesPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    ServicesPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent = nullptr);

    void storeEdits() override;
    void showValues(const FieldRange &range) override;

private:
    QWidget *buildTopStrip();
    QTabWidget *buildSheets();
    // Two blocks of four columns: extensions first..first+3 above first+4..first+7.
    QWidget *buildSheet(const char *name, int firstExtension);
    QWidget *buildBlock(int firstExtension, QWidget *sheet);

    UserDialogs &dialogs_;
    FieldBinding binding_;
};

} // namespace ornis
