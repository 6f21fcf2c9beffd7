#pragma once

#include "ui/pages/DialPage.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "Zkrácené volby": a window of ten or twenty short dials, tab by tab. The table
// is the only store; the rows hold the user's edits until the next store.
class ShortDialPage final : public DialPage
{
    Q_OBJECT

public:
    ShortDialPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void FillShortDialPage();
    void StoreShortDialPage();

private:
    void fillRows() override;
    void storeRows() override;
    // The tab left keeps its edits; the tab chosen shows its labels and records.
    void tcShortDialsChanging();
    void tcShortDialsChange();

    ExchangeConfig &config_;
};

} // namespace ornis
