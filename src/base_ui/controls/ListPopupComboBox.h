#pragma once

#include <QComboBox>
#include <QEvent>
#include <QList>

// A combo box whose popup lists its entries in a plain QListView, so that
// style-sheet rules for the items apply to them. The list (and the popup, if
// Qt has not made one) is made when the popup first opens: made up front,
// the popup's container, list and scroll bars are built and polished under
// the style sheet with the combo box, which costs more than the rest of the
// combo box together, and many combo boxes are never opened.
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
    // Qt passes a style, font or palette change on to the popup, and makes
    // the popup to do so. Until the popup exists, a non-editable combo box
    // whose size hint was never computed takes such a change as a plain
    // widget does; the popup gets it when it is made.
    void changeEvent(QEvent* event) override;

private:
    bool hasPopup() const;
    // Passes the changes taken without a popup on to the popup.
    void replayChanges();

    bool m_listMade = false;
    QList<QEvent::Type> m_heldChanges;
    mutable bool m_sizeHinted = false;
};
