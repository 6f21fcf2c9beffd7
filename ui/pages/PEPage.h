#pragma once

#include "ui/pages/DialPage.h"

namespace ornis {

struct ExchangeConfig;
class UserDialogs;

// The page "PE": a window of twenty PE records, tab by tab. The table
// is the only store; the rows hold the user's edits until the next store.
class PEPage final : public DialPage
{
    Q_OBJECT

public:
    PEPage(ExchangeConfig &config, UserDialogs &dialogs, QWidget *parent = nullptr);

    void FillPEPage();
    void StorePEPage();

private:
    void fillRows() override;
    void storeRows() override;
    // The tab left keeps its edits; the tab chosen shows its labels and records.
    void tcPEChanging();
    void tcPEChange();

    ExchangeConfig &config_;
};

} // namespace ornis
