#pragma once

#include <QAccessible>

// A part of a painted control that a screen reader sees as an object of its
// own but that has no widget and no children (a table cell, a list item): the
// answers every such leaf gives alike. Its text is read, never written.
class AccessibleLeaf : public QAccessibleInterface
{
public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
};
