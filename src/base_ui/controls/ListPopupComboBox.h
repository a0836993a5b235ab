#pragma once

#include <QComboBox>

// A combo box whose popup lists its entries in a plain QListView, so that
// style-sheet rules for the items apply to them. The popup (its container
// and the list) is made when it first opens: building it up front costs more
// than the rest of the combo box together, mostly in style-sheet polish, and
// many combo boxes are never opened.
class ListPopupComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ListPopupComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
    Q_DISABLE_COPY_MOVE(ListPopupComboBox)

    void showPopup() override;

private:
    bool m_listMade = false;
};
