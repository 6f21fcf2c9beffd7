#pragma once

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QSpinBox;

namespace ornis {

struct ExchangeConfig;
class CellGrid;

// The side tab "Globální parametry": the global line and extension grids beside G7, G0,
// G5 and the counters GG.
class GlobalTab final : public QWidget
{
    Q_OBJECT

public:
    GlobalTab(ExchangeConfig &config, CellGrid *lineGrid, CellGrid *extensionGrid,
        QWidget *parent = nullptr);

    // Shows the values the model holds now; the page refreshes the grids.
    void refresh();

private:
    QWidget *buildChoices();
    QWidget *buildCounters();
    // A row of the parameter `label`; its controls stand left-aligned in the line.
    QHBoxLayout *addParameterRow(QGridLayout *layout, int row, const QString &label);
    void addCaptioned(QHBoxLayout *line, const QString &caption, QWidget *control);
    void addG7(QGridLayout *layout, int row);
    void addG0(QGridLayout *layout, int row);
    void addG5(QGridLayout *layout, int row);

    ExchangeConfig &config_;
    QList<QComboBox *> cbU_;
    QList<QCheckBox *> weekdays_;
    QComboBox *cbFax_ = nullptr;
    QList<QSpinBox *> counters_;
};

} // namespace ornis
