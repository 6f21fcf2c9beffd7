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

// One data cell. It has no object of its own; the grid's interface owns it.
class CellAccessible final : public QAccessibleInterface
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
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Cell; }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!grid_)
            return state;
        state.focusable = true;
        state.focused = grid_->hasFocus() && grid_->currentCell() == QPoint(column_, row_);
        state.disabled = grid_->isCellDisabled(column_, row_);
        state.invisible = !grid_->isVisible();
        return state;
    }

private:
    QPointer<CellGrid> grid_;
    int column_;
    int row_;
};

class GridAccessible final : public QAccessibleWidget
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

    [[nodiscard]] int childCount() const override
    {
        return grid()->rules().shape.columns * grid()->rules().shape.rows;
    }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = cells_.find(index); known != cells_.end())
            return QAccessible::accessibleInterface(known->second);
        const int columns = grid()->rules().shape.columns;
        auto *cell = new CellAccessible(grid(), index % columns + 1, index / columns + 1);
        cells_.emplace(index, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (const auto &[index, id] : cells_)
            if (QAccessible::accessibleInterface(id) == child)
                return index;
        return -1;
    }
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        const std::optional<QPoint> cell = grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)));
        if (!cell || cell->x() < 1 || cell->y() < 1)
            return nullptr;
        return child(cellGridChildIndex(*grid(), cell->x(), cell->y()));
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        if (!grid()->hasFocus())
            return nullptr;
        const QPoint cell = grid()->currentCell();
        return child(cellGridChildIndex(*grid(), cell.x(), cell.y()));
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? grid()->objectName() : text;
    }

private:
    [[nodiscard]] CellGrid *grid() const { return static_cast<CellGrid *>(widget()); }

    mutable std::map<int, QAccessible::Id> cells_;
};

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
