#include "MainPageTabs.h"

#include "ui/editing/ConfigView.h"
#include "ui/pages/DialPage.h"
#include "ui/pages/DialTabView.h"
#include "ui/pages/ServicesPage.h"
#include "ui/pages/SettingPage.h"
#include "ui/pages/SetupPage.h"
#include "ui/pages/TransferPage.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <functional>

namespace ornis {

MainPageTabs::MainPageTabs(
    ConfigEditor &editor, UserDialogs &dialogs, const MainActions &actions, QWidget *parent)
    : QTabWidget(parent)
    , editor_(editor)
{
    setObjectName(QStringLiteral("pcMain"));
    setDocumentMode(false);
    setupPage_ = addView(MainPage::Setup, new SetupPage(editor, actions, this));
    addTab(setupPage_, pageCaption(MainPage::Setup));

    using Build = std::function<QWidget *(QWidget * parent)>;
    const auto dialPage = [this](MainPage page, DialTable table, DialPage *&built) -> Build {
        return [this, page, table, &built](QWidget *parent) {
            built = addView(page, new DialPage(table, editor_, parent));
            return built;
        };
    };
    // Each page's controls are built when the page is first shown: the window starts with
    // the page "Konfigurace" alone.
    const std::pair<MainPage, Build> builders[] = {
        {MainPage::Setting,
            [this, &dialogs](QWidget *parent) {
                return addView(MainPage::Setting, new SettingPage(editor_, dialogs, parent));
            }},
        {MainPage::Services,
            [this, &dialogs](QWidget *parent) {
                return addView(MainPage::Services, new ServicesPage(editor_, dialogs, parent));
            }},
        {MainPage::ShortDials,
            dialPage(MainPage::ShortDials, DialTable::ShortDials, shortDialPage_)},
        {MainPage::PE, dialPage(MainPage::PE, DialTable::PE, pePage_)},
    };
    for (const auto &[page, build] : builders) {
        const MainPageInfo &info = pageInfo(page);
        auto *tab = new TransferPage(
            QLatin1String(info.name), actions, QLatin1String(info.buttons), this);
        tab->setContentBuilder(build);
        connect(tab, &TransferPage::contentBuilt, this,
            [this, page](QWidget &content) { emit pageBuilt(page, content); });
        pages_[std::size_t(page)] = tab;
        addTab(tab, pageCaption(page));
    }
    // The window takes its size before the dial pages are built: their side tabs ask for
    // their room now.
    for (const auto &[page, table] :
        {std::pair {MainPage::ShortDials, DialTable::ShortDials}, {MainPage::PE, DialTable::PE}})
        pages_[std::size_t(page)]->reserveContentHeight(DialTabView::tabsLength(table, *this));
    tabBar()->setUsesScrollButtons(false);
}

std::optional<MainPage> MainPageTabs::pageInView() const
{
    const int index = currentIndex();
    if (index < 0 || index >= MainPageCount)
        return std::nullopt;
    return MainPage(index);
}

TransferPage &MainPageTabs::page(MainPage page) const
{
    return *pages_.at(std::size_t(page));
}

void MainPageTabs::setView(MainPage page, ConfigView *view)
{
    views_.at(std::size_t(page)) = view;
}

template<typename Page> Page *MainPageTabs::addView(MainPage page, Page *view)
{
    setView(page, view);
    view->showValues(wholeConfigRange());
    return view;
}

void MainPageTabs::ensurePagesBuilt()
{
    for (TransferPage *page : pages_) {
        if (page)
            page->ensureContent();
    }
}

template<typename Call> void MainPageTabs::forEachView(Call call)
{
    for (ConfigView *view : views_) {
        if (view)
            call(*view);
    }
}

void MainPageTabs::StoreShortDialPage()
{
    if (shortDialPage_)
        shortDialPage_->storeRows();
}

void MainPageTabs::StorePEPage()
{
    if (pePage_)
        pePage_->storeRows();
}

void MainPageTabs::storeEdits()
{
    forEachView([](ConfigView &view) { view.storeEdits(); });
}

void MainPageTabs::showValues(const FieldRange &range)
{
    forEachView([&range](ConfigView &view) { view.showValues(range); });
}

QSize MainPageTabs::minimumSizeHint() const
{
    QSize pages;
    for (int page = 0; page < count(); ++page)
        pages = pages.expandedTo(widget(page)->minimumSizeHint());
    const QSize hint = QTabWidget::minimumSizeHint();
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = QRect(QPoint(0, 0), hint);
    const QSize room
        = style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).size();
    return hint + (pages - room).expandedTo(QSize(0, 0));
}

void MainPageTabs::showPagesOfModel(int32_t model)
{
    setTabVisible(int(MainPage::PE), model == ModelMira);
}

} // namespace ornis
