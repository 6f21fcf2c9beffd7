#pragma once

#include <QWidget>

namespace ornis {

struct ExchangeConfig;
class CellGrid;
class CommentColumn;

// The side tab "Pobočky": `sgIntrLn` under its " Vstup " and " Výstup " captions, the
// extension comments beside its rows.
class ExtensionsTab final : public QWidget
{
    Q_OBJECT

public:
    ExtensionsTab(ExchangeConfig &config, CellGrid *grid, QWidget *parent = nullptr);

    // Shows the comments the model holds now; the grid is refreshed by the page.
    void refresh();

private:
    QWidget *buildCaptions(const CellGrid &grid);

    CommentColumn *comments_ = nullptr;
};

} // namespace ornis
