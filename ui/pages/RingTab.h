#pragma once

#include "config/ConfigFields.h"

#include <QWidget>

class QGridLayout;
class QHBoxLayout;

namespace ornis {

class CellGrid;
class FieldBinding;
class UserDialogs;

// The side tab "Vyzvánění": the day and night ring grids with their line comments, and
// the times at which the exchange switches between day and night.
class RingTab final : public QWidget
{
    Q_OBJECT

public:
    // The comments and times are bound through `binding`; the page shows the grids.
    RingTab(FieldBinding &binding, UserDialogs &dialogs, CellGrid *dayGrid, CellGrid *nightGrid,
        QWidget *parent = nullptr);

private:
    void addRingGrid(QGridLayout *layout, int row, const QString &caption, CellGrid *grid,
        Field comments, const QString &commentPrefix);
    QWidget *buildTimes();
    void addTime(QHBoxLayout *layout, const QString &caption, const char *name, Field field);

    FieldBinding &binding_;
    UserDialogs &dialogs_;
};

} // namespace ornis
