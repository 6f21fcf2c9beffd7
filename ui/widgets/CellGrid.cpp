#include "CellGrid.h"

#include "CellGridAccessible.h"
#include "GridLook.h"
#include "TypeScale.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ornis {

namespace {

constexpr int LineWidth = 1; // grid lines between cells, in headers and data alike
constexpr int TextTop = 1; // pixels from a cell's top to its text's top
const QColor LineColor(0xA0, 0xA0, 0xA0);

QString latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

CellGrid::CellGrid(const GridRules &rules, QWidget *parent)
    : QFrame(parent)
    , rules_(rules)
    , look_(gridLook(rules.grid))
    , texts_(qsizetype(rules.shape.size()))
    , rowHeight_(typeScaled(GridRowHeight, *this))
{
    for (int column = 0; column <= rules.shape.columns; ++column)
        columnWidths_.append(typeScaled(look_.width(column), *this));
    setObjectName(QLatin1String(look_.name));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    installCellGridAccessibility();
    setFixedSize(sizeHint());
}

qsizetype CellGrid::textIndex(int column, int row) const
{
    return qsizetype(rules_.shape.cellIndex(column, row));
}

QString CellGrid::cellText(int column, int row) const
{
    return rules_.shape.contains(column, row) ? texts_[textIndex(column, row)] : QString();
}

void CellGrid::setCellText(int column, int row, const QString &text)
{
    if (!rules_.shape.contains(column, row))
        return;
    QString &stored = texts_[textIndex(column, row)];
    if (stored == text)
        return;
    stored = text;
    update(cellRect(column, row));
}

bool CellGrid::isCellDisabled(int column, int row) const
{
    return disabled_ && disabled_(column, row);
}

QString CellGrid::cellName(int column, int row) const
{
    const QString text = cellText(column, row);
    return cellGridItemName(*this, column, row) + QStringLiteral(": ")
        + (isCellDisabled(column, row) ? QStringLiteral("nepoužito")
                : text.isEmpty()       ? QStringLiteral("prázdné")
                                       : text);
}

void CellGrid::setDisabledCells(std::function<bool(int, int)> disabled)
{
    disabled_ = std::move(disabled);
    update();
}

int CellGrid::columnLeft(int column) const
{
    int left = frameWidth();
    for (int c = 0; c < column; ++c)
        left += columnWidth(c) + LineWidth;
    return left;
}

int CellGrid::rowTop(int row) const
{
    return frameWidth() + row * (rowHeight_ + LineWidth);
}

int CellGrid::columnWidth(int column) const
{
    return columnWidths_.value(column);
}

QRect CellGrid::cellRect(int column, int row) const
{
    return QRect(columnLeft(column), rowTop(row), columnWidth(column), rowHeight_);
}

std::optional<QPoint> CellGrid::cellAt(QPoint point) const
{
    for (int row = 0; row <= rules_.shape.rows; ++row) {
        for (int column = 0; column <= rules_.shape.columns; ++column) {
            if (cellRect(column, row).contains(point))
                return QPoint(column, row);
        }
    }
    return std::nullopt;
}

QSize CellGrid::sizeHint() const
{
    const int columns = rules_.shape.columns + 1;
    const int rows = rules_.shape.rows + 1;
    return QSize(columnLeft(columns) + frameWidth(), rowTop(rows) + frameWidth());
}

void CellGrid::paintEvent(QPaintEvent *event)
{
    // The grid does not claim to be opaque: at a fractional scale its rectangle's edges fall
    // inside device pixels that the page must paint, or a previous page's pixels stay there.
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(contentsRect(), LineColor);
    const QColor buttonFace = palette().color(QPalette::Button);
    const QFontMetrics metrics(font());
    for (int row = 0; row <= rules_.shape.rows; ++row) {
        for (int column = 0; column <= rules_.shape.columns; ++column) {
            const QRect cell = cellRect(column, row);
            if (!event->region().intersects(cell))
                continue;
            if (row == 0 || column == 0) {
                painter.fillRect(cell, buttonFace);
                painter.setPen(palette().color(QPalette::ButtonText));
                const QString text = latin1(rules_.headerText(column, row));
                painter.drawText(cell.left() + look_.headerIndent(column),
                    cell.top() + TextTop + metrics.ascent(), text);
            } else if (isCellDisabled(column, row)) {
                painter.fillRect(cell, buttonFace);
                painter.setPen(Qt::white);
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
            } else {
                painter.fillRect(cell, Qt::white);
                painter.setPen(Qt::black);
                const QString &text = texts_[textIndex(column, row)];
                const int left
                    = cell.left() + (cell.width() - metrics.horizontalAdvance(text)) / 2;
                painter.drawText(left, cell.top() + TextTop + metrics.ascent(), text);
            }
        }
    }
    if (hasFocus())
        paintFocusFrame(painter);
}

void CellGrid::paintFocusFrame(QPainter &painter) const
{
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cellRect(current_.x(), current_.y()).adjusted(1, 1, -1, -1));
}

void CellGrid::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    const std::optional<QPoint> cell = cellAt(event->position().toPoint());
    if (cell && cell->x() >= 1 && cell->y() >= 1)
        press(*cell);
}

void CellGrid::pressCell(int column, int row)
{
    if (rules_.shape.contains(column, row))
        press(QPoint(column, row));
}

void CellGrid::press(QPoint cell)
{
    setCurrentCell(cell);
    emit cellPressed(cell.x(), cell.y());
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, cellText(cell.x(), cell.y()));
        changed.setChild(cellGridChildIndex(*this, cell.x(), cell.y()));
        QAccessible::updateAccessibility(&changed);
    }
}

void CellGrid::keyPressEvent(QKeyEvent *event)
{
    const int columns = rules_.shape.columns;
    const int rows = rules_.shape.rows;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QPoint cell = current_;
    switch (event->key()) {
    case Qt::Key_Space:
        if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
            return QFrame::keyPressEvent(event);
        // Shift+Space is the right click; every button presses alike.
        press(current_);
        return;
    case Qt::Key_Left:
        cell.rx() = std::max(1, cell.x() - 1);
        break;
    case Qt::Key_Right:
        cell.rx() = std::min(columns, cell.x() + 1);
        break;
    case Qt::Key_Up:
        cell.ry() = std::max(1, cell.y() - 1);
        break;
    case Qt::Key_Down:
        cell.ry() = std::min(rows, cell.y() + 1);
        break;
    case Qt::Key_Home:
        cell.rx() = 1;
        break;
    case Qt::Key_End:
        cell.rx() = columns;
        break;
    case Qt::Key_PageUp:
        cell.ry() = 1;
        break;
    case Qt::Key_PageDown:
        cell.ry() = rows;
        break;
    default:
        return QFrame::keyPressEvent(event);
    }
    setCurrentCell(cell);
}

void CellGrid::setCurrentCell(QPoint cell)
{
    if (cell == current_)
        return;
    update(cellRect(current_.x(), current_.y()));
    current_ = cell;
    update(cellRect(current_.x(), current_.y()));
    if (hasFocus() && QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(cellGridChildIndex(*this, cell.x(), cell.y()));
        QAccessible::updateAccessibility(&focus);
    }
}

void CellGrid::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    update(cellRect(current_.x(), current_.y()));
}

void CellGrid::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    update(cellRect(current_.x(), current_.y()));
}

} // namespace ornis
