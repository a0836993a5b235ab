#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

#include <unordered_map>

class CTableWidget;

// What a screen reader sees of a CTableWidget: a table of the records (all of
// them, not only the window shown) whose children are the cells, row by row,
// named by their texts; the selected record is the selected row. Columns are
// described by the header labels. Reads the table's public model only, so it
// shows whatever records the table holds. Cell interfaces are made on demand
// and deleted with this one.
class TableAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TableAccessible(CTableWidget* table);
    ~TableAccessible() override;
    Q_DISABLE_COPY_MOVE(TableAccessible)

    CTableWidget* table() const;

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::unordered_map<int, QAccessible::Id> m_cells;
};
