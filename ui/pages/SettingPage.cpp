#include "SettingPage.h"

#include "ui/pages/ExtensionsTab.h"
#include "ui/pages/GlobalTab.h"
#include "ui/pages/RingTab.h"
#include "ui/widgets/CellGrid.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ornis {

SettingPage::SettingPage(ConfigEditor &editor, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , binding_(editor)
{
    setObjectName(QStringLiteral("SettingPage"));
    using enum SettingsGrid;
    // Made before the tabs, so that Tab reaches the side tabs before what they show.
    tcSetting_ = new QTabWidget(this);
    // Made inside the page, so that they take the window's type from the start.
    auto *extensionsTab = new ExtensionsTab(binding_, makeGrid(Extension), this);
    auto *ringTab = new RingTab(binding_, dialogs, makeGrid(DayRing), makeGrid(NightRing), this);
    auto *globalTab
        = new GlobalTab(binding_, makeGrid(GlobalLine), makeGrid(GlobalExtension), this);

    tcSetting_->setObjectName(QStringLiteral("tcSetting"));
    tcSetting_->setTabPosition(QTabWidget::West);
    tcSetting_->tabBar()->setUsesScrollButtons(false);
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
    auto *view = new CellGrid(gridRules(grid), this);
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
