#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

#include <unordered_map>

class CProgramDiaryListWidget;

// What a screen reader sees of the view by time's list: a list whose
// children are all of its records (DiaryListItemAccessible), not the six
// reused row widgets; the selected record is the selected item. Item
// interfaces are made on demand and deleted with this one.
class DiaryListAccessible : public QAccessibleWidget
{
public:
    explicit DiaryListAccessible(CProgramDiaryListWidget* list);
    ~DiaryListAccessible() override;
    Q_DISABLE_COPY_MOVE(DiaryListAccessible)

    CProgramDiaryListWidget* list() const;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    mutable std::unordered_map<int, QAccessible::Id> m_items;
};
