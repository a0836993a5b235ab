#include "base_ui/controls/TableCellAccessible.h"

#include "base_ui/controls/CTableWidget.h"

TableCellAccessible::TableCellAccessible(CTableWidget* table, int row, int column)
    : m_table(table), m_row(row), m_column(column)
{}

bool TableCellAccessible::isValid() const
{
    return m_table != nullptr && m_table->recordModel().isValidIndex(m_row) &&
           m_table->recordModel().isValidColumn(m_column);
}

QAccessibleInterface* TableCellAccessible::parent() const
{
    return m_table != nullptr ? QAccessible::queryAccessibleInterface(m_table.data()) : nullptr;
}

QAccessibleInterface* TableCellAccessible::table() const
{
    return parent();
}

QString TableCellAccessible::text(QAccessible::Text type) const
{
    if (type != QAccessible::Name || !isValid()) {
        return {};
    }
    const std::string_view cell = m_table->recordModel().cell(m_row, m_column);
    return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
}

int TableCellAccessible::slot() const
{
    if (!isValid()) {
        return -1;
    }
    const int slot = m_row - m_table->firstVisibleRow();
    return slot >= 0 && slot < m_table->shownSlotCount() && m_table->isSlotValid(slot) ? slot : -1;
}

QRect TableCellAccessible::rect() const
{
    const int shown = slot();
    if (shown < 0) {
        return {};
    }
    const QRect local = m_table->cellRect(shown, m_column).intersected(m_table->dataArea());
    return QRect(m_table->mapToGlobal(local.topLeft()), local.size());
}

bool TableCellAccessible::isSelected() const
{
    return isValid() && m_table->selectedRow() == m_row;
}

QAccessible::State TableCellAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.selected = isSelected();
    state.focused = state.selected && m_table->hasFocus();
    state.invisible = slot() < 0;
    state.offscreen = state.invisible;
    return state;
}

void* TableCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
}
