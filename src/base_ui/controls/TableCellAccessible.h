#pragma once

#include "base_ui/controls/AccessibleLeaf.h"

#include <QAccessible>
#include <QPointer>

class CTableWidget;

// One cell of a CTableWidget for a screen reader: named by its text, read
// from the table's model whenever asked, selected with its record, invisible
// while scrolled out of the window. Made and owned by TableAccessible.
class TableCellAccessible : public AccessibleLeaf, public QAccessibleTableCellInterface
{
public:
    TableCellAccessible(CTableWidget* table, int row, int column);
    Q_DISABLE_COPY_MOVE(TableCellAccessible)

    // QAccessibleInterface
    bool isValid() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text type) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

private:
    // The slot showing the record, or -1.
    int slot() const;

    QPointer<CTableWidget> m_table;
    int m_row;
    int m_column;
};
