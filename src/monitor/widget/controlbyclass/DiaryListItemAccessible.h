#pragma once

#include "base_ui/controls/AccessibleLeaf.h"

#include <QAccessible>
#include <QPointer>

class CProgramDiaryListWidget;

// One record of the view by time's list for a screen reader: a list item
// named by its type, time and info as the row shows them, selected with the
// record, invisible while scrolled out. Made and owned by DiaryListAccessible.
class DiaryListItemAccessible : public AccessibleLeaf
{
public:
    DiaryListItemAccessible(CProgramDiaryListWidget* list, int index);
    Q_DISABLE_COPY_MOVE(DiaryListItemAccessible)

    int index() const { return m_index; }

    bool isValid() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text type) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<CProgramDiaryListWidget> m_list;
    int m_index;
};
