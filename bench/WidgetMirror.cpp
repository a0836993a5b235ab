#include "WidgetMirror.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

QTableWidget* NewTable(const QStringList& titles, const QStringList& cells, QWidget* parent)
{
    const int columns = static_cast<int>(titles.size());
    const int rows = columns == 0 ? 0 : static_cast<int>(cells.size()) / columns;
    auto* table = new QTableWidget(rows, columns, parent);
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    for (int index = 0; index < rows * columns; ++index) {
        table->setItem(index / columns, index % columns, new QTableWidgetItem(cells[index]));
    }
    return table;
}

} // namespace

WidgetMirror::WidgetMirror(const QWidget& root)
{
    for (const QWidget* child : root.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        record(*child, -1);
    }
}

void WidgetMirror::record(const QWidget& widget, int parent)
{
    Node node = describe(widget);
    node.parent = parent;
    m_nodes.push_back(node);
    const int index = static_cast<int>(m_nodes.size()) - 1;
    for (const QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (node.kind == Kind::Container) {
            record(*child, index);
        } else if (node.kind == Kind::Table) {
            recordInTable(widget, *child, index);
        }
    }
}

// The copy's table has its own header and cells; the buttons and combo boxes
// on and in them stay, at the same places.
void WidgetMirror::recordInTable(const QWidget& table, const QWidget& widget, int parent)
{
    Node node = describe(widget);
    if (node.kind == Kind::PushButton || node.kind == Kind::ComboBox) {
        node.parent = parent;
        node.geometry.moveTopLeft(widget.mapTo(&table, QPoint(0, 0)));
        m_nodes.push_back(node);
        return;
    }
    for (const QWidget* child : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        recordInTable(table, *child, parent);
    }
}

WidgetMirror::Node WidgetMirror::describe(const QWidget& widget)
{
    Node node;
    node.objectName = widget.objectName();
    node.geometry = widget.geometry();
    node.hidden = widget.isHidden();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        node.kind = Kind::Label;
        node.text = label->text();
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(&widget)) {
        node.kind = Kind::RadioButton;
        node.text = radio->text();
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        node.kind = Kind::PushButton;
        node.text = button->text();
    } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        node.kind = Kind::ComboBox;
        for (int item = 0; item < combo->count(); ++item) {
            node.items << combo->itemText(item);
        }
    } else if (qobject_cast<const QDateEdit*>(&widget) != nullptr) {
        node.kind = Kind::DateEdit;
    } else if (QAccessibleInterface* accessible =
                   QAccessible::queryAccessibleInterface(const_cast<QWidget*>(&widget))) {
        // The controls that paint themselves say what they are through their
        // accessible interfaces.
        if (accessible->role() == QAccessible::Table) {
            node.kind = Kind::Table;
            readTable(widget, *accessible, node);
        } else if (accessible->role() == QAccessible::Button) {
            node.kind = Kind::PushButton;
            node.text = accessible->text(QAccessible::Name);
        }
    }
    return node;
}

// Column titles, cells and cell sizes of a widget that presents itself as a
// table.
void WidgetMirror::readTable(const QWidget& widget, QAccessibleInterface& accessible, Node& node)
{
    QAccessibleTableInterface* table = accessible.tableInterface();
    if (table == nullptr) {
        return;
    }
    for (int column = 0; column < table->columnCount(); ++column) {
        node.items << table->columnDescription(column);
    }
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            QAccessibleInterface* cell = table->cellAt(row, column);
            node.cells << (cell == nullptr ? QString() : cell->text(QAccessible::Name));
            if (row == 0 && cell != nullptr) {
                const QRect rect = cell->rect();
                node.columnWidths << rect.width();
                node.rowHeight = rect.height();
                node.headerHeight = rect.top() - widget.mapToGlobal(QPoint(0, 0)).y();
            }
        }
    }
}

QWidget* WidgetMirror::create(const Node& node, QWidget* parent)
{
    switch (node.kind) {
    case Kind::Label:
        return new QLabel(node.text, parent);
    case Kind::RadioButton:
        return new QRadioButton(node.text, parent);
    case Kind::PushButton:
        return new QPushButton(node.text, parent);
    case Kind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->addItems(node.items);
        return combo;
    }
    case Kind::DateEdit: {
        auto* edit = new QDateEdit(QDate::currentDate(), parent);
        edit->setCalendarPopup(true);
        return edit;
    }
    case Kind::Table: {
        QTableWidget* table = NewTable(node.items, node.cells, parent);
        for (int column = 0; column < node.columnWidths.size(); ++column) {
            table->horizontalHeader()->resizeSection(column, node.columnWidths[column]);
        }
        table->verticalHeader()->setDefaultSectionSize(node.rowHeight);
        table->horizontalHeader()->setFixedHeight(node.headerHeight);
        return table;
    }
    case Kind::Container:
        break;
    }
    return new QWidget(parent);
}

void WidgetMirror::build(QWidget* parent) const
{
    std::vector<QWidget*> built;
    built.reserve(m_nodes.size());
    for (const Node& node : m_nodes) {
        QWidget* widget = create(node, node.parent < 0 ? parent : built[node.parent]);
        widget->setObjectName(node.objectName);
        widget->setGeometry(node.geometry);
        widget->setHidden(node.hidden);
        built.push_back(widget);
    }
}

int WidgetMirror::size() const
{
    return static_cast<int>(m_nodes.size());
}
