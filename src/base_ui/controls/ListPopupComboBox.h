#pragma once

#include <QComboBox>

// A combo box whose popup lists its entries in a plain QListView, so that
// style-sheet rules for the items apply to them. The list is made when the
// popup first opens: made up front, it and its scroll bars are built and
// polished under the style sheet with the combo box, which costs more than
// the rest of the combo box together, and many combo boxes are never opened.
// Qt itself would make the popup's container with a default list at the
// first style change; that change is taken without it (see changeEvent).
class ListPopupComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ListPopupComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
    Q_DISABLE_COPY_MOVE(ListPopupComboBox)

    void showPopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // Qt answers a style change by fetching the item delegate, which makes
    // the popup's container only to restyle it. Before the container exists
    // and before a size hint was computed there is nothing to restyle: the
    // container takes the style of the moment it is made.
    void changeEvent(QEvent* event) override;

private:
    bool hasPopup() const;

    bool m_listMade = false;
    mutable bool m_sizeHinted = false;
};
