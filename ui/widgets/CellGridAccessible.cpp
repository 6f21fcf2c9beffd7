#include "CellGridAccessible.h"

#include "CellGrid.h"
#include "config/GridRules.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>

namespace ornis {

namespace {

QString header(const GridRules &rules, int column, int row)
{
    const std::string_view text = rules.headerText(column, row);
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString rowWord(const GridRules &rules, int row)
{
    const QString text = header(rules, 0, row);
    switch (rules.grid) {
    case SettingsGrid::Extension:
        return QStringLiteral("Pobočka ") + text;
    case SettingsGrid::DayRing:
    case SettingsGrid::NightRing:
        return QStringLiteral("Linka ") + text;
    case SettingsGrid::GlobalLine:
    case SettingsGrid::GlobalExtension:
        break;
    }
    return text;
}

QString columnWord(const GridRules &rules, int column)
{
    const QString text = header(rules, column, 0);
    switch (rules.grid) {
    case SettingsGrid::Extension:
        if (column <= 4)
            return QStringLiteral("Vstup ") + text;
        return column <= 8 ? QStringLiteral("Výstup ") + text : text;
    case SettingsGrid::GlobalLine:
        return QStringLiteral("Linka ") + text;
    case SettingsGrid::DayRing:
    case SettingsGrid::NightRing:
    case SettingsGrid::GlobalExtension:
        break;
    }
    return QStringLiteral("Pobočka ") + text;
}

// One cell, a header cell (row 0 or column 0) or a data cell. It has no object of its own;
// the grid's interface owns it. A data cell is pressed as a click presses it.
class CellAccessible final : public QAccessibleInterface,
                             public QAccessibleTableCellInterface,
                             public QAccessibleActionInterface
{
public:
    CellAccessible(CellGrid *grid, int column, int row)
        : grid_(grid)
        , column_(column)
        , row_(row)
    {
    }

    [[nodiscard]] bool isValid() const override { return !grid_.isNull(); }
    [[nodiscard]] QObject *object() const override { return nullptr; }
    [[nodiscard]] QWindow *window() const override
    {
        return grid_ && grid_->window() ? grid_->window()->windowHandle() : nullptr;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(grid_.data());
    }
    [[nodiscard]] QAccessibleInterface *child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (!grid_)
            return {};
        if (isHeader())
            return kind == QAccessible::Name ? header(grid_->rules(), column_, row_) : QString();
        if (kind == QAccessible::Name)
            return grid_->cellName(column_, row_);
        if (kind == QAccessible::Value)
            return grid_->cellText(column_, row_);
        return {};
    }
    void setText(QAccessible::Text, const QString &) override { }
    [[nodiscard]] QRect rect() const override
    {
        if (!grid_)
            return {};
        const QRect cell = grid_->cellRect(column_, row_);
        return QRect(grid_->mapToGlobal(cell.topLeft()), cell.size());
    }
    [[nodiscard]] QAccessible::Role role() const override
    {
        if (row_ == 0)
            return QAccessible::ColumnHeader;
        return column_ == 0 ? QAccessible::RowHeader : QAccessible::Cell;
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!grid_ || isHeader())
            return state;
        state.focusable = true;
        state.focused = grid_->hasFocus() && grid_->currentCell() == QPoint(column_, row_);
        state.disabled = grid_->isCellDisabled(column_, row_);
        state.invisible = !grid_->isVisible();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        if (type == QAccessible::ActionInterface && !isHeader())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    // The table's rows and columns count the data cells from 0.
    [[nodiscard]] bool isSelected() const override { return false; }
    [[nodiscard]] QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        return headerCell(column_, 0);
    }
    [[nodiscard]] QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        return headerCell(0, row_);
    }
    [[nodiscard]] int columnIndex() const override { return column_ - 1; }
    [[nodiscard]] int rowIndex() const override { return row_ - 1; }
    [[nodiscard]] int columnExtent() const override { return 1; }
    [[nodiscard]] int rowExtent() const override { return 1; }
    [[nodiscard]] QAccessibleInterface *table() const override { return parent(); }

    [[nodiscard]] QStringList actionNames() const override
    {
        return {QAccessibleActionInterface::pressAction()};
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override
    {
        return {QStringLiteral("Space")};
    }
    void doAction(const QString &action) override
    {
        if (grid_ && action == QAccessibleActionInterface::pressAction())
            grid_->pressCell(column_, row_);
    }

private:
    [[nodiscard]] bool isHeader() const { return row_ == 0 || column_ == 0; }
    [[nodiscard]] QList<QAccessibleInterface *> headerCell(int column, int row) const;

    QPointer<CellGrid> grid_;
    int column_;
    int row_;
};

// The grid as a table of its data cells, which are its children row by row. No cell is
// ever selected: the keyboard's framed cell is the focused child.
class GridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(CellGrid *grid)
        : QAccessibleWidget(grid, QAccessible::Table)
    {
    }
    ~GridAccessible() override
    {
        for (const auto &[index, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    [[nodiscard]] int childCount() const override { return rowCount() * columnCount(); }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        return cell(index % columnCount() + 1, index / columnCount() + 1);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QAccessibleTableCellInterface *cell
            = child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
        if (!cell || child->parent() != this || child->role() != QAccessible::Cell)
            return -1;
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        const std::optional<QPoint> at = grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)));
        if (!at || at->x() < 1 || at->y() < 1)
            return nullptr;
        return cell(at->x(), at->y());
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        if (!grid()->hasFocus())
            return nullptr;
        const QPoint current = grid()->currentCell();
        return cell(current.x(), current.y());
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? grid()->objectName() : text;
    }

    [[nodiscard]] QAccessibleInterface *caption() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *summary() const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return cell(column + 1, row + 1);
    }
    [[nodiscard]] int selectedCellCount() const override { return 0; }
    [[nodiscard]] QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    [[nodiscard]] QString columnDescription(int column) const override
    {
        return column >= 0 && column < columnCount() ? columnWord(grid()->rules(), column + 1)
                                                     : QString();
    }
    [[nodiscard]] QString rowDescription(int row) const override
    {
        return row >= 0 && row < rowCount() ? rowWord(grid()->rules(), row + 1) : QString();
    }
    [[nodiscard]] int selectedColumnCount() const override { return 0; }
    [[nodiscard]] int selectedRowCount() const override { return 0; }
    [[nodiscard]] int columnCount() const override { return grid()->rules().shape.columns; }
    [[nodiscard]] int rowCount() const override { return grid()->rules().shape.rows; }
    [[nodiscard]] QList<int> selectedColumns() const override { return {}; }
    [[nodiscard]] QList<int> selectedRows() const override { return {}; }
    [[nodiscard]] bool isColumnSelected(int) const override { return false; }
    [[nodiscard]] bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { }

    // Any cell of the grid, header cells (row 0, column 0) included; made when first asked.
    [[nodiscard]] QAccessibleInterface *cell(int column, int row) const
    {
        const int key = row * (columnCount() + 1) + column;
        if (const auto known = cells_.find(key); known != cells_.end())
            return QAccessible::accessibleInterface(known->second);
        auto *made = new CellAccessible(grid(), column, row);
        cells_.emplace(key, QAccessible::registerAccessibleInterface(made));
        return made;
    }

private:
    [[nodiscard]] CellGrid *grid() const { return static_cast<CellGrid *>(widget()); }

    mutable std::map<int, QAccessible::Id> cells_;
};

QList<QAccessibleInterface *> CellAccessible::headerCell(int column, int row) const
{
    auto *grid = static_cast<GridAccessible *>(parent());
    if (!grid || isHeader())
        return {};
    return {grid->cell(column, row)};
}

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(CellGrid::staticMetaObject.className()) && object
        && object->isWidgetType())
        return new GridAccessible(static_cast<CellGrid *>(object));
    return nullptr;
}

} // namespace

void installCellGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString cellGridItemName(const CellGrid &grid, int column, int row)
{
    return rowWord(grid.rules(), row) + QStringLiteral(", ") + columnWord(grid.rules(), column);
}

int cellGridChildIndex(const CellGrid &grid, int column, int row)
{
    return (row - 1) * grid.rules().shape.columns + column - 1;
}

} // namespace ornis
