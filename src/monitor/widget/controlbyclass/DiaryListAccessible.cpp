#include "monitor/widget/controlbyclass/DiaryListAccessible.h"

#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"
#include "monitor/widget/controlbyclass/DiaryListItemAccessible.h"

DiaryListAccessible::DiaryListAccessible(CProgramDiaryListWidget* list)
    : QAccessibleWidget(list, QAccessible::List)
{}

DiaryListAccessible::~DiaryListAccessible()
{
    for (const auto& [index, id] : m_items) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

CProgramDiaryListWidget* DiaryListAccessible::list() const
{
    return static_cast<CProgramDiaryListWidget*>(widget());
}

int DiaryListAccessible::childCount() const
{
    return static_cast<int>(list()->records().size());
}

QAccessibleInterface* DiaryListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    const auto found = m_items.find(index);
    if (found != m_items.end()) {
        return QAccessible::accessibleInterface(found->second);
    }
    auto* item = new DiaryListItemAccessible(list(), index);
    m_items.emplace(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int DiaryListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (child == nullptr || child->role() != QAccessible::ListItem || !child->isValid() ||
        child->parent() != this) {
        return -1;
    }
    for (const auto& [index, id] : m_items) {
        if (QAccessible::accessibleInterface(id) == child) {
            return index;
        }
    }
    return -1;
}

QAccessibleInterface* DiaryListAccessible::childAt(int x, int y) const
{
    for (int index = list()->firstRecord(); index < childCount(); ++index) {
        QAccessibleInterface* const item = child(index);
        if (item->state().invisible) {
            break;
        }
        if (item->rect().contains(x, y)) {
            return item;
        }
    }
    return nullptr;
}

QAccessibleInterface* DiaryListAccessible::focusChild() const
{
    return list()->hasFocus() ? child(list()->selectedRecord()) : nullptr;
}
