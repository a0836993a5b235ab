#pragma once

#include "monitor/widget/controlbyclass/DiaryListRecord.h"

#include <QPixmap>
#include <QString>
#include <QWidget>

class CAboutLabel;
class QLabel;
class QPushButton;

// One 685 x 60 row of the view by time: a number badge, the record's type and
// time, its info text (elided to 250 px, the whole text wrapped in the
// tooltip) and a "查看" button: on a journal record's row it asks for the
// record's detail (sig_viewRecord), on a sample program-start row it opens
// the detail box. Heartbeat rows also show the about icon right of the
// type. The labels carry the object names that the page style sheet selects
// ("PROGRAM_DIARY_LIST_LABEL_TYPE", "..._TIME", "..._NUM", "..._INFO",
// "PROGRAM_DIARY_SEE_BTN"). GUI thread only.
class CProgramDiaryListItemWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CProgramDiaryListItemWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CProgramDiaryListItemWidget)

    // Shows `record` as the row of 0-based `index` (badge number index + 1).
    void setData(const DiaryListRecord& record, int index);

    // Empty when `text` fits into `width` pixels of the row's font, otherwise
    // `text` elided at the right to `width`.
    QString elideToWidth(const QString& text, int width) const;

    bool isProgramStart() const { return m_programStart; }
    // The shown record's category and journal id (0 for a sample record).
    int category() const { return m_category; }
    qint64 recordId() const { return m_id; }

    // The selected row is filled in the selection colour instead of white.
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }
    // Presses the "查看" button, as a click does.
    void pressSeeButton();
    QString aboutText() const { return m_about; }

signals:
    // "查看" was pressed on the row of a journal record.
    void sig_viewRecord(int category, qint64 id);

public slots:
    // On the row of a journal record, emits sig_viewRecord. On a sample
    // program-start row, runs the detail box modally and deletes it once it
    // is closed; does nothing on other sample rows.
    void OnBtnSeeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* addLabel(int textId, int x, int y);
    void showInfo(const QString& info);
    void showAboutIcon(bool heartbeat);

    QLabel* m_typeLabel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QLabel* m_numberLabel = nullptr;
    QLabel* m_infoLabel = nullptr;
    QPushButton* m_seeButton = nullptr;
    CAboutLabel* m_aboutLabel = nullptr;
    QPixmap m_badge;
    QString m_about;
    bool m_programStart = false;
    int m_category = 0;
    qint64 m_id = 0;
    bool m_selected = false;
};
