#pragma once

#include <QWidget>
#include <span>
#include <string>

class QGridLayout;
class QHBoxLayout;

namespace ornis {

struct ExchangeConfig;
class CellGrid;
class CommentColumn;
class MaskedTimeEdit;
class UserDialogs;

// The side tab "Vyzvánění": the day and night ring grids with their line comments, and
// the times at which the exchange switches between day and night.
class RingTab final : public QWidget
{
    Q_OBJECT

public:
    RingTab(ExchangeConfig &config, UserDialogs &dialogs, CellGrid *dayGrid, CellGrid *nightGrid,
        QWidget *parent = nullptr);

    // Shows the comments and the times the model holds now; the page refreshes the grids.
    void refresh();
    void refreshTimes();

private:
    CommentColumn *addRingGrid(QGridLayout *layout, int row, const QString &caption,
        CellGrid *grid, std::span<std::string> comments, const QString &commentPrefix);
    QWidget *buildTimes();
    MaskedTimeEdit *addTime(
        QHBoxLayout *layout, const QString &caption, const char *name, std::string &field);

    ExchangeConfig &config_;
    UserDialogs &dialogs_;
    CommentColumn *dayComments_ = nullptr;
    CommentColumn *nightComments_ = nullptr;
    MaskedTimeEdit *meDay_ = nullptr;
    MaskedTimeEdit *meNight_ = nullptr;
};

} // namespace ornis
