#pragma once

#include <QFrame>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace ornis {

struct GridLook;
struct GridRules;

// A small grid of short cell texts drawn as a spreadsheet: button-face headers, white data
// cells with centred texts, disabled cells grey with a white frame. It keeps one text per
// data cell and turns a press of any mouse button on a data cell into cellPressed; what a
// cell means and how a press changes it is the owner's business. No cell is ever selected,
// and the grid shows all its cells at once.
//
// It also works by keyboard: it takes the focus by Tab or a click and then frames its
// current cell, which the arrows, Home, End, PageUp and PageDown move over the data cells;
// Space (a left click) and Shift+Space (a right click) press it as the mouse does. Screen
// readers see each data cell named by its row and column ("Pobočka 21, Vstup 91: X").
class CellGrid final : public QFrame
{
    Q_OBJECT

public:
    explicit CellGrid(const GridRules &rules, QWidget *parent = nullptr);

    [[nodiscard]] const GridRules &rules() const { return rules_; }

    [[nodiscard]] QString cellText(int column, int row) const;
    // Repaints the cell when its text changed.
    void setCellText(int column, int row, const QString &text);
    // Asked whenever a data cell is painted: true draws it disabled, without its text.
    void setDisabledCells(std::function<bool(int column, int row)> disabled);

    // The cell's rectangle in the grid's coordinates; header cells have row or column 0.
    [[nodiscard]] QRect cellRect(int column, int row) const;
    // The cell under `point`, header cells included; nothing on a grid line or the frame.
    [[nodiscard]] std::optional<QPoint> cellAt(QPoint point) const;

    [[nodiscard]] QSize sizeHint() const override;

    // The data cell the keyboard works on, (1, 1) at first.
    [[nodiscard]] QPoint currentCell() const { return current_; }
    // What a screen reader says of a data cell: its row, its column and its text.
    [[nodiscard]] QString cellName(int column, int row) const;
    [[nodiscard]] bool isCellDisabled(int column, int row) const;
    // Presses data cell (column, row) as a click does: a screen reader's press.
    void pressCell(int column, int row);

signals:
    // A mouse button went down on data cell (column, row), both counted from 1.
    void cellPressed(int column, int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The one way a press reaches the owner, from the mouse and the keyboard alike.
    void press(QPoint cell);
    void setCurrentCell(QPoint cell);
    void paintFocusFrame(QPainter &painter) const;

    [[nodiscard]] int columnLeft(int column) const;
    [[nodiscard]] int columnWidth(int column) const;
    [[nodiscard]] int rowTop(int row) const;
    [[nodiscard]] qsizetype textIndex(int column, int row) const;

    const GridRules &rules_;
    const GridLook &look_;
    QList<QString> texts_;
    // Pixels, grown with larger type.
    const int rowHeight_;
    QList<int> columnWidths_;
    std::function<bool(int, int)> disabled_;
    QPoint current_ {1, 1};
};

} // namespace ornis
