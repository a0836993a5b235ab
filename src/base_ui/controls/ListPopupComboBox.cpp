#include "base_ui/controls/ListPopupComboBox.h"

#include <QEvent>
#include <QFrame>
#include <QListView>

void ListPopupComboBox::showPopup()
{
    if (!m_listMade) {
        m_listMade = true;
        setView(new QListView(this));
    }
    QComboBox::showPopup();
}

QSize ListPopupComboBox::sizeHint() const
{
    m_sizeHinted = true;
    return QComboBox::sizeHint();
}

QSize ListPopupComboBox::minimumSizeHint() const
{
    m_sizeHinted = true;
    return QComboBox::minimumSizeHint();
}

void ListPopupComboBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::StyleChange && !m_sizeHinted && !hasPopup()) {
        QWidget::changeEvent(event);
        return;
    }
    QComboBox::changeEvent(event);
}

bool ListPopupComboBox::hasPopup() const
{
    // The popup's container is the combo box's only frame child.
    return findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}
