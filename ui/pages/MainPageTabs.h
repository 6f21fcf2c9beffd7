#pragma once

#include "config/FieldRange.h"
#include "ui/MainPages.h"

#include <QTabWidget>
#include <array>
#include <optional>

namespace ornis {

class ConfigEditor;
class ConfigView;
class DialPage;
struct MainActions;
class SetupPage;
class TransferPage;
class UserDialogs;

// `pcMain`: the five pages in their fixed order, "Konfigurace" built at once and each
// other page when it is first shown, and the views among them that follow the
// configuration.
class MainPageTabs final : public QTabWidget
{
    Q_OBJECT

public:
    MainPageTabs(ConfigEditor &editor, UserDialogs &dialogs, const MainActions &actions,
        QWidget *parent = nullptr);

    [[nodiscard]] SetupPage &setupPage() const { return *setupPage_; }
    [[nodiscard]] TransferPage &page(MainPage page) const;
    // Nothing while no page is in view.
    [[nodiscard]] std::optional<MainPage> pageInView() const;
    // The view that shows `page`.
    void setView(MainPage page, ConfigView *view);
    // Builds the controls of every page now rather than when each is first shown.
    void ensurePagesBuilt();

    // The rows of the dial pages are bound to their records: a store only commits what the
    // user is typing in one of them. A page not built yet holds nothing to store.
    void StoreShortDialPage();
    void StorePEPage();

    // What every view is told.
    void storeEdits();
    void showValues(const FieldRange &range);
    // The PE page shows for model MIRA only.
    void showPagesOfModel(int32_t model);

    // Room for the largest page as the style places the pages inside the frame, which
    // may take more than QTabWidget reckons with.
    [[nodiscard]] QSize minimumSizeHint() const override;

signals:
    // The controls of `page` were built.
    void pageBuilt(MainPage page, QWidget &content);

private:
    // Makes `view` the view of `page`, showing the model, and hands it back.
    template<typename Page> Page *addView(MainPage page, Page *view);
    template<typename Call> void forEachView(Call call);

    ConfigEditor &editor_;
    SetupPage *setupPage_ = nullptr;
    std::array<TransferPage *, MainPageCount> pages_ {};
    std::array<ConfigView *, MainPageCount> views_ {};
    DialPage *shortDialPage_ = nullptr;
    DialPage *pePage_ = nullptr;
};

} // namespace ornis
