#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

class QAccessibleInterface;
class QWidget;

// A plain Qt copy of a built widget tree. Each widget becomes the Qt widget
// that shows the same thing (label, radio button, push button, combo box,
// date edit, table or plain container) with the same object name, text,
// geometry and visibility, so that style rules that select by object name or
// Qt class style the copy as they style the original. Building the copy costs
// what Qt itself costs for such a tree, without the controls' own work.
class WidgetMirror
{
public:
    // Records the widgets under root (not root itself).
    explicit WidgetMirror(const QWidget& root);

    // Builds the copy under parent.
    void build(QWidget* parent) const;

    // Widgets the copy has, not counting those inside Qt's own widgets.
    int size() const;

private:
    enum class Kind
    {
        Container,
        Label,
        RadioButton,
        PushButton,
        ComboBox,
        DateEdit,
        Table
    };

    struct Node
    {
        Kind kind = Kind::Container;
        // Index of the parent node, or -1 for root.
        int parent = -1;
        QString objectName;
        QString text;
        QRect geometry;
        bool hidden = false;
        // Combo box items, table column titles.
        QStringList items;
        // Table cells, row after row, their widths and height, and the
        // height of the table's header.
        QStringList cells;
        QList<int> columnWidths;
        int rowHeight = 0;
        int headerHeight = 0;
    };

    void record(const QWidget& widget, int parent);
    void recordInTable(const QWidget& table, const QWidget& widget, int parent);
    static Node describe(const QWidget& widget);
    static void readTable(const QWidget& widget, QAccessibleInterface& accessible, Node& node);
    static QWidget* create(const Node& node, QWidget* parent);

    std::vector<Node> m_nodes;
};
