#include "SetupPage.h"

#include "config/ChoiceLists.h"
#include "config/ExchangeConfig.h"
#include "config/ModuleTable.h"
#include "ui/MainActions.h"
#include "ui/editing/ConfigEditor.h"
#include "ui/pages/ButtonStrip.h"
#include "ui/widgets/ActionButton.h"
#include "ui/widgets/PortComboBox.h"
#include "ui/widgets/SvgPicture.h"
#include "ui/widgets/TypeScale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ornis {

namespace {

constexpr int GroupHeight = 52;
constexpr int GroupWidth = 118; // the model and the port
constexpr int ModulesWidth = 196;
constexpr int ButtonWidth = 136; // wide enough for a date and a time in any common format

// The check box of each module, in the order of the module table.
constexpr std::array<const char *, ModuleCount> ModuleCheckBoxes {
    "chbMiraMKV", "chbMiraMKPR", "chbGSM", "chbMKV", "chbMKPR", "chbMKX"};
constexpr QSize PictureFrameSize(565, 157);

QGroupBox *makeGroup(QWidget *parent, const char *name, const QString &title)
{
    auto *group = new QGroupBox(title, parent);
    if (name)
        group->setObjectName(QLatin1String(name));
    group->setFixedHeight(typeScaled(GroupHeight, *parent));
    auto *layout = new QHBoxLayout(group);
    layout->setContentsMargins(8, 4, 8, 6);
    return group;
}

} // namespace

SetupPage::SetupPage(ConfigEditor &editor, const MainActions &actions, QWidget *parent)
    : QWidget(parent)
    , editor_(editor)
    , binding_(editor)
{
    setObjectName(QStringLiteral("tsSetup"));

    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(buildModelGroup());
    top->addWidget(buildModuleGroups());
    top->addWidget(buildPortGroup());
    top->addStretch();
    top->addWidget(buildButtons(actions), 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addWidget(buildPictureFrame(), 0, Qt::AlignHCenter);
    layout->addStretch(1);
    ButtonStrip::Captions captions;
    captions.receive = QStringLiteral("&Načíst vše");
    captions.send = QStringLiteral("&Zapsat vše");
    captions.def = QStringLiteral("&Přednastavit vše");
    layout->addWidget(new ButtonStrip(actions, QStringLiteral("All"), captions, this));
}

QWidget *SetupPage::buildModelGroup()
{
    QGroupBox *group = makeGroup(this, "gbCentralType", QStringLiteral(" Ústředna "));
    group->setFixedWidth(typeScaled(GroupWidth, *this));
    cbCentralType_ = new QComboBox(group);
    cbCentralType_->setObjectName(QStringLiteral("cbCentralType"));
    for (const char *name : modelNames())
        cbCentralType_->addItem(QString::fromLatin1(name));
    cbCentralType_->setStatusTip(QStringLiteral("Typ připojené ústředny"));
    binding_.bind(cbCentralType_, {Field::ExchangeType});
    group->layout()->addWidget(cbCentralType_);
    return group;
}

QWidget *SetupPage::buildModuleGroups()
{
    // The three groups share one place; the chosen model's group shows.
    auto *place = new QWidget(this);
    place->setFixedSize(typeScaled(QSize(ModulesWidth, GroupHeight), *this));
    auto *stack = new QGridLayout(place);
    stack->setContentsMargins(0, 0, 0, 0);
    const QString title = QStringLiteral(" Moduly ");
    gbMira_ = makeGroup(place, "gbMira", title);
    gbVega_ = makeGroup(place, "gbVega", title);
    gbVegaX_ = makeGroup(place, "gbVegaX", title);
    const std::array<QGroupBox *, 3> groups {gbMira_, gbVega_, gbVegaX_};
    for (std::size_t i = 0; i < ExchangeModuleTable.size(); ++i) {
        const ModuleInfo &module = ExchangeModuleTable[i];
        addModule(*groups.at(std::size_t(module.model)), module, int(i));
    }
    for (QGroupBox *group : groups) {
        static_cast<QHBoxLayout *>(group->layout())->addStretch();
        stack->addWidget(group, 0, 0);
    }
    return place;
}

QCheckBox *SetupPage::addModule(QGroupBox &group, const ModuleInfo &module, int index)
{
    const QString caption = QLatin1String(module.caption);
    auto *box = new QCheckBox(caption, &group);
    box->setObjectName(QLatin1String(ModuleCheckBoxes.at(std::size_t(index))));
    box->setStatusTip(QStringLiteral("Modul %1 je v ústředně osazen").arg(caption));
    group.layout()->addWidget(box);
    binding_.bind(box, {Field::ExchangeModule, index});
    return box;
}

QWidget *SetupPage::buildPortGroup()
{
    QGroupBox *group = makeGroup(this, "gbComPort", QStringLiteral(" Port "));
    group->setFixedWidth(typeScaled(GroupWidth, *this));
    cbComPort_ = new PortComboBox(group);
    cbComPort_->setObjectName(QStringLiteral("cbComPort"));
    cbComPort_->setStatusTip(QStringLiteral("Sériový port, ke kterému je ústředna připojena"));
    cbComPort_->setToolTip(QStringLiteral("Vyberte port ze seznamu, nebo napište cestu "
                                          "k zařízení (např. /dev/ttyUSB0) a stiskněte Enter"));
    group->layout()->addWidget(cbComPort_);
    return group;
}

QWidget *SetupPage::buildButtons(const MainActions &actions)
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    btSendRTC_ = new ActionButton(actions.acSendRTC->text(), *actions.acSendRTC, column);
    btSendRTC_->setObjectName(QStringLiteral("btSendRTC"));
    btSendRTC_->setFixedWidth(typeScaled(ButtonWidth, *this));
    auto *btExit = new ActionButton(actions.acExit->text(), *actions.acExit, column);
    btExit->setObjectName(QStringLiteral("btExit"));
    btExit->setFixedWidth(typeScaled(ButtonWidth, *this));
    layout->addWidget(btSendRTC_);
    layout->addWidget(btExit);
    return column;
}

QWidget *SetupPage::buildPictureFrame()
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("pnlPicture"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setFixedSize(typeScaled(PictureFrameSize, *this));
    frame->setAutoFillBackground(true);
    auto *stack = new QGridLayout(frame);
    stack->setContentsMargins(4, 4, 4, 4);
    const auto add = [&](const char *name, const QString &resource) {
        auto *picture = new SvgPicture(resource, frame);
        picture->setObjectName(QLatin1String(name));
        stack->addWidget(picture, 0, 0);
        return picture;
    };
    imgMira_ = add("imgMira", QStringLiteral(":/pictures/mira.svg"));
    imgVega_ = add("imgVega", QStringLiteral(":/pictures/vega.svg"));
    imgVegaX_ = add("imgVegaX", QStringLiteral(":/pictures/vegax.svg"));
    return frame;
}

void SetupPage::showValues(const FieldRange &range)
{
    binding_.show(range);
    if (contains(range, FieldRef {Field::ExchangeType}))
        showModel(editor_.config().ExchangeType);
}

void SetupPage::showModel(int index)
{
    gbMira_->setVisible(index == ModelMira);
    imgMira_->setVisible(index == ModelMira);
    gbVega_->setVisible(index == ModelVega);
    imgVega_->setVisible(index == ModelVega);
    gbVegaX_->setVisible(index == ModelVegaX);
    imgVegaX_->setVisible(index == ModelVegaX);
}

} // namespace ornis
