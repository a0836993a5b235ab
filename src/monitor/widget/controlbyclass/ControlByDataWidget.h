#pragma once

#include <QWidget>

class CProgramDiaryListWidget;
class QDateEdit;

// The view by time of the monitor page, 700 x 400 at (0, 65) of the page: a
// date edit (object name "DataWidgetControl", styled by the page style sheet)
// over the list of records. The date does not filter the list. GUI thread
// only.
class ControlByDataWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ControlByDataWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ControlByDataWidget)

    // Builds the date edit and the list; later calls change nothing.
    void initShow();

    QDateEdit* dateEdit() const { return m_dateEdit; }
    CProgramDiaryListWidget* listWidget() const { return m_list; }

private:
    QDateEdit* m_dateEdit = nullptr;
    CProgramDiaryListWidget* m_list = nullptr;
};
