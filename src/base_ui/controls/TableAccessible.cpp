#include "base_ui/controls/TableAccessible.h"

#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/TableCellAccessible.h"

TableAccessible::TableAccessible(CTableWidget* table) : QAccessibleWidget(table, QAccessible::Table)
{}

TableAccessible::~TableAccessible()
{
    for (const auto& [index, id] : m_cells) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

CTableWidget* TableAccessible::table() const
{
    return static_cast<CTableWidget*>(widget());
}

int TableAccessible::rowCount() const
{
    return table()->rowCount();
}

int TableAccessible::columnCount() const
{
    return table()->recordModel().columnCount();
}

int TableAccessible::childCount() const
{
    return rowCount() * columnCount();
}

QAccessibleInterface* TableAccessible::cellAt(int row, int column) const
{
    if (!table()->recordModel().isValidIndex(row) || column < 0 || column >= columnCount()) {
        return nullptr;
    }
    const int index = row * columnCount() + column;
    const auto found = m_cells.find(index);
    if (found != m_cells.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* cell = new TableCellAccessible(table(), row, column);
    m_cells.emplace(index, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface* TableAccessible::child(int index) const
{
    const int columns = columnCount();
    return index >= 0 && columns > 0 ? cellAt(index / columns, index % columns) : nullptr;
}

int TableAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    QAccessibleTableCellInterface* const cell =
        child != nullptr ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (cell == nullptr || cell->table() != this || !child->isValid()) {
        return -1;
    }
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface* TableAccessible::childAt(int x, int y) const
{
    const CTableWidget* const t = table();
    const QPoint local = t->mapFromGlobal(QPoint(x, y));
    if (!t->dataArea().contains(local)) {
        return nullptr;
    }
    for (int slot = 0; slot < t->shownSlotCount(); ++slot) {
        if (!t->isSlotValid(slot)) {
            continue;
        }
        for (int column = 0; column < columnCount(); ++column) {
            if (t->cellRect(slot, column).contains(local)) {
                return cellAt(t->firstVisibleRow() + slot, column);
            }
        }
    }
    return nullptr;
}

QAccessibleInterface* TableAccessible::focusChild() const
{
    const int row = table()->selectedRow();
    return table()->hasFocus() && row >= 0 ? cellAt(row, 0) : nullptr;
}

int TableAccessible::selectedRowCount() const
{
    return table()->selectedRow() >= 0 ? 1 : 0;
}

QList<int> TableAccessible::selectedRows() const
{
    const int row = table()->selectedRow();
    return row >= 0 ? QList<int>{row} : QList<int>{};
}

bool TableAccessible::isRowSelected(int row) const
{
    return row >= 0 && table()->selectedRow() == row;
}

int TableAccessible::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> TableAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    const int row = table()->selectedRow();
    for (int column = 0; row >= 0 && column < columnCount(); ++column) {
        cells << cellAt(row, column);
    }
    return cells;
}

QString TableAccessible::columnDescription(int column) const
{
    const QStringList labels = table()->header()->labels();
    return column >= 0 && column < labels.size() ? labels.at(column) : QString();
}

QString TableAccessible::rowDescription(int row) const
{
    return table()->recordModel().isValidIndex(row) ? QString::number(row + 1) : QString();
}

bool TableAccessible::selectRow(int row)
{
    return table()->selectRow(row);
}

bool TableAccessible::unselectRow(int row)
{
    if (!isRowSelected(row)) {
        return false;
    }
    table()->clearSelection();
    return true;
}

void* TableAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}
