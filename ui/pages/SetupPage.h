#pragma once

#include "config/ModuleTable.h"
#include "ui/editing/ConfigView.h"
#include "ui/editing/FieldBinding.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace ornis {

class ConfigEditor;
struct MainActions;
class PortComboBox;
class SvgPicture;

// The page "Konfigurace" (`tsSetup`): the exchange model and its modules, the port, the
// clock, and the transfers and factory values of the whole configuration.
class SetupPage final : public QWidget, public ConfigView
{
    Q_OBJECT

public:
    SetupPage(ConfigEditor &editor, const MainActions &actions, QWidget *parent = nullptr);

    [[nodiscard]] PortComboBox &portList() const { return *cbComPort_; }
    [[nodiscard]] QPushButton &clockButton() const { return *btSendRTC_; }

    // Carries out a change of the model or of a module that the user made; the window
    // lets it wait for a running transfer, or drops it. Until it is carried out, the
    // controls show the configuration's values.
    void setChangeGate(FieldBinding::Gate gate) { binding_.setGate(std::move(gate)); }

    // The model and the modules, with the group and the picture of the model.
    void showValues(const FieldRange &range) override;

private:
    QWidget *buildModelGroup();
    QWidget *buildModuleGroups();
    QWidget *buildPortGroup();
    QWidget *buildButtons(const MainActions &actions);
    QWidget *buildPictureFrame();
    QCheckBox *addModule(QGroupBox &group, const ModuleInfo &module, int index);
    // Only the group box and the picture of the chosen model show; none when no model is.
    void showModel(int index);

    ConfigEditor &editor_;
    FieldBinding binding_;
    QComboBox *cbCentralType_ = nullptr;
    QGroupBox *gbMira_ = nullptr;
    QGroupBox *gbVega_ = nullptr;
    QGroupBox *gbVegaX_ = nullptr;
    PortComboBox *cbComPort_ = nullptr;
    QPushButton *btSendRTC_ = nullptr;
    SvgPicture *imgMira_ = nullptr;
    SvgPicture *imgVega_ = nullptr;
    SvgPicture *imgVegaX_ = nullptr;
};

} // namespace ornis
