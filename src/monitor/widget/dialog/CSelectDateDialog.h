#pragma once

#include "base_ui/controls/WindowDrag.h"

#include <QDateTime>
#include <QDialog>
#include <QPoint>

class QButtonGroup;
class QDateEdit;
class QRadioButton;

// The frameless date range dialog of the diary, 320 x 294: the user views the
// logs of one day or of a period and confirms, or cancels. A 41 px blue title
// band over a white body with a 1 px frame; pressing anywhere and dragging
// moves it. Texts, colours and images come from the pools; the look of the
// date edits comes from the page style sheet, which selects their object name
// "PROGRAM_DIARY_DATEEDIT".
//
// The dialog deletes itself once it is closed (Qt::WA_DeleteOnClose), so no
// closed dialog is left behind per use: hold it through a QPointer. The
// buttons carry the object names "SelectDateDialogOk",
// "SelectDateDialogCancel" and "SelectDateDialogClose". GUI thread only.
class CSelectDateDialog : public QDialog
{
    Q_OBJECT

public:
    // Ids of the mode buttons in their group.
    enum Mode : int
    {
        ModeOneDay = 0,
        ModePeriod = 1,
    };

    explicit CSelectDateDialog(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CSelectDateDialog)

signals:
    // The chosen dates at 00:00:00. One day: that day as begin and end.
    // Period: the first day and the day after the last one (exclusive end).
    void sig_returndate(const QDateTime& begin, const QDateTime& end);
    // Cancelled or closed without a choice.
    void sig_emptyDate();

public slots:
    void slot_closeBtnClicked();
    // ModeOneDay hides the end date, any other id shows it.
    void slot_change_mode(int id);
    // Emits the chosen range and closes. A period whose begin lies after the
    // midnight that ends it leaves the dialog open and emits nothing.
    void slot_okBtnClicked();
    void slot_cancelBtnClicked();

protected:
    // Esc cancels, as the cancel button does.
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildButtons();
    void buildTexts();
    void buildModes();
    QDateEdit* addDateEdit(int y);
    // Emits through `emitSignal`, then closes unless a receiver deleted the
    // dialog meanwhile.
    template <typename EmitSignal>
    void emitAndClose(EmitSignal emitSignal);

    WindowDrag m_drag;
    QRadioButton* m_oneDayButton = nullptr;
    QRadioButton* m_periodButton = nullptr;
    QButtonGroup* m_modeGroup = nullptr;
    QDateEdit* m_beginEdit = nullptr;
    QDateEdit* m_endEdit = nullptr;
};
