#pragma once

#include <QAccessible>
#include <QPointer>

class CProgramDiaryListWidget;

// One record of the view by time's list for a screen reader: a list item
// named by its type, time and info as the row shows them, selected with the
// record, invisible while scrolled out. Made and owned by DiaryListAccessible.
class DiaryListItemAccessible : public QAccessibleInterface
{
public:
    DiaryListItemAccessible(CProgramDiaryListWidget* list, int index);
    Q_DISABLE_COPY_MOVE(DiaryListItemAccessible)

    int index() const { return m_index; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<CProgramDiaryListWidget> m_list;
    int m_index;
};
