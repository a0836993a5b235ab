#include "base_ui/controls/ListPopupComboBox.h"

#include <QListView>

void ListPopupComboBox::showPopup()
{
    if (!m_listMade) {
        m_listMade = true;
        setView(new QListView(this));
    }
    QComboBox::showPopup();
}
