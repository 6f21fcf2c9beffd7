#pragma once

#include "DialPageWindows.h"
#include "ui/pages/DialRow.h"

#include <QWidget>
#include <array>
#include <memory>

class QTabBar;

namespace ornis {

// The tab control on the left and the 20 rows of a short-dial or PE page beside it, in two
// panels of ten. The rows show the window of one tab at a time: the tab in view.
class DialTabView final : public QWidget
{
    Q_OBJECT

public:
    explicit DialTabView(DialTable table, QWidget *parent = nullptr);
    ~DialTabView() override;

    // The height the tabs of `table` take in the type and style of `context`, before the
    // page is built.
    [[nodiscard]] static int tabsLength(DialTable table, QWidget &context);

    // The tab whose records the rows show.
    [[nodiscard]] int tabInView() const { return tabInView_; }

    // Shows the panels and row labels of the tab in view.
    void showRowsOfTab();

    [[nodiscard]] const DialRow &row(int row) const { return *rows_[std::size_t(row)]; }

signals:
    // The user chose another tab. The rows still show `tab`.
    void tabLeaving(int tab);
    // The tab in view is `tab` now; its rows still show the tab left.
    void tabEntered(int tab);

private:
    static void addTabs(QTabBar &tabs, DialTable table);
    QWidget *buildPanel(int panel);
    void onTabChosen(int tab);

    const DialTable table_;
    QTabBar *tabs_ = nullptr;
    std::array<QWidget *, 2> panels_ {};
    std::array<std::unique_ptr<DialRow>, DialRowCount> rows_;
    int tabInView_ = 0;
};

} // namespace ornis
