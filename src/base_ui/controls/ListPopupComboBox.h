#pragma once

#include <QComboBox>

// A combo box whose popup lists its entries in a plain QListView, so that
// style-sheet rules for the items apply to them. The list is made when the
// popup first opens: made up front, it and its scroll bars are built and
// polished under the style sheet with the combo box, which costs more than
// the rest of the combo box together, and many combo boxes are never opened.
// (Qt itself makes the popup's container with a default list at the first
// style change; that one is replaced when the popup first opens.)
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
