#include "base_ui/controls/ListPopupComboBox.h"

#include <QFrame>
#include <QListView>

#include <utility>

void ListPopupComboBox::showPopup()
{
    // The changes first: they make Qt's popup, into which the list then goes
    // as into a popup that had them all along.
    replayChanges();
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
    const QEvent::Type type = event->type();
    const bool reachesPopup =
        type == QEvent::StyleChange || type == QEvent::FontChange || type == QEvent::PaletteChange;
    if (reachesPopup && !m_sizeHinted && !isEditable() && !hasPopup()) {
        if (!m_heldChanges.contains(type)) {
            m_heldChanges.append(type);
        }
        QWidget::changeEvent(event);
        return;
    }
    if (reachesPopup || hasPopup()) {
        replayChanges();
    }
    QComboBox::changeEvent(event);
}

void ListPopupComboBox::replayChanges()
{
    const QList<QEvent::Type> held = std::exchange(m_heldChanges, {});
    for (const QEvent::Type type : held) {
        QEvent change(type);
        QComboBox::changeEvent(&change);
    }
}

bool ListPopupComboBox::hasPopup() const
{
    // The popup's container is the combo box's only frame child.
    return findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}
