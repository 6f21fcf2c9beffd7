#include "SettingPage.h"

#include "ui/pages/ExtensionsTab.h"
#include "ui/pages/GlobalTab.h"
#include "ui/pages/RingTab.h"
#include "ui/widgets/CellGrid.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace ornis {

SettingPage::SettingPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , binding_(editor)
{
    setObjectName(QStringLiteral("SettingPage"));
    using enum SettingsGrid;
    auto *extensionsTab = new ExtensionsTab(binding_, makeGrid(Extension));
    auto *ringTab = new RingTab(binding_, dialogs, makeGrid(DayRing), makeGrid(NightRing));
    auto *globalTab = new GlobalTab(binding_, makeGrid(GlobalLine), makeGrid(GlobalExtension));

    tcSetting_ = new QTabWidget(this);
    tcSetting_->setObjectName(QStringLiteral("tcSetting"));
    tcSetting_->setTabPosition(QTabWidget::West);
    extensionsTab->setObjectName(QStringLiteral("tsExtensions"));
    ringTab->setObjectName(QStringLiteral("tsRing"));
    globalTab->setObjectName(QStringLiteral("tsGlobal"));
    tcSetting_->addTab(extensionsTab, QStringLiteral("Pobočky"));
    tcSetting_->addTab(ringTab, QStringLiteral("Vyzvánění"));
    tcSetting_->addTab(globalTab, QStringLiteral("Globální parametry"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tcSetting_);
}

CellGrid *SettingPage::makeGrid(SettingsGrid grid)
{
    auto *view = new CellGrid(gridRules(grid));
    binding_.bind(view);
    return view;
}

void SettingPage::storeEdits()
{
    binding_.commitTyped();
}

void SettingPage::showValues(const FieldRange &range)
{
    binding_.show(range);
}

} // namespace ornis
