#pragma once

#include <QWidget>

class QGridLayout;
class QHBoxLayout;

namespace ornis {

class CellGrid;
class FieldBinding;

// The side tab "Globální parametry": the global line and extension grids beside G7, G0,
// G5 and the counters GG.
class GlobalTab final : public QWidget
{
    Q_OBJECT

public:
    // The controls are bound through `binding`; the page shows the grids.
    GlobalTab(FieldBinding &binding, CellGrid *lineGrid, CellGrid *extensionGrid,
        QWidget *parent = nullptr);

private:
    QWidget *buildChoices();
    QWidget *buildCounters();
    // A row of the parameter `label`; its controls stand left-aligned in the line.
    QHBoxLayout *addParameterRow(QGridLayout *layout, int row, const QString &label);
    void addCaptioned(QHBoxLayout *line, const QString &caption, QWidget *control);
    void addG7(QGridLayout *layout, int row);
    void addG0(QGridLayout *layout, int row);
    void addG5(QGridLayout *layout, int row);

    FieldBinding &binding_;
};

} // namespace ornis
