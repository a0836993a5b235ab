#include "monitor/widget/controlbyclass/DiaryListItemAccessible.h"

#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

DiaryListItemAccessible::DiaryListItemAccessible(CProgramDiaryListWidget* list, int index)
    : m_list(list), m_index(index)
{}

bool DiaryListItemAccessible::isValid() const
{
    return m_list != nullptr && m_index >= 0 &&
           m_index < static_cast<int>(m_list->records().size());
}

QAccessibleInterface* DiaryListItemAccessible::parent() const
{
    return m_list != nullptr ? QAccessible::queryAccessibleInterface(m_list.data()) : nullptr;
}

QString DiaryListItemAccessible::text(QAccessible::Text type) const
{
    if (!isValid()) {
        return {};
    }
    const DiaryListRecord& record = m_list->records()[static_cast<size_t>(m_index)];
    switch (type) {
    case QAccessible::Name:
        return QStringList{record.type, record.time, record.info}.join(QLatin1Char(' '));
    case QAccessible::Description:
        return record.about;
    default:
        return {};
    }
}

QRect DiaryListItemAccessible::rect() const
{
    const CProgramDiaryListItemWidget* const row = isValid() ? m_list->rowOf(m_index) : nullptr;
    if (row == nullptr) {
        return {};
    }
    const QRect shown = row->geometry().intersected(m_list->rect());
    return QRect(m_list->mapToGlobal(shown.topLeft()), shown.size());
}

QAccessible::State DiaryListItemAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.selected = m_list->selectedRecord() == m_index;
    state.focused = state.selected && m_list->hasFocus();
    state.invisible = m_list->rowOf(m_index) == nullptr;
    state.offscreen = state.invisible;
    return state;
}
