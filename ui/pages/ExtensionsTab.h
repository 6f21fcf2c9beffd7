#pragma once

#include <QWidget>

namespace ornis {

class CellGrid;
class FieldBinding;

// The side tab "Pobočky": `sgIntrLn` under its " Vstup " and " Výstup " captions, the
// extension comments beside its rows.
class ExtensionsTab final : public QWidget
{
    Q_OBJECT

public:
    // The comments are bound through `binding`; the page shows the grid.
    ExtensionsTab(FieldBinding &binding, CellGrid *grid, QWidget *parent = nullptr);

private:
    QWidget *buildCaptions(const CellGrid &grid);
};

} // namespace ornis
