#pragma once

#include <QPoint>
#include <QPushButton>

// The button of a table's button column. It knows its column and the record
// it currently shows; releasing it reports both with the point just below
// its bottom-left corner in global coordinates, where a caller can open a
// menu or a box. Flat, translucent, with a pointing-hand cursor.
class PushButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PushButton(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(PushButton)

    void setColumn(int column) { m_column = column; }
    int column() const { return m_column; }
    void setRecordIndex(int index) { m_recordIndex = index; }
    int recordIndex() const { return m_recordIndex; }
    // Reports as a click would: the record, the column and the point just
    // below the bottom-left corner.
    void activate();

signals:
    void toTableWidget(int recordIndex, int column, const QPoint& point);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_column = 0;
    int m_recordIndex = 0;
    QPoint m_point;
};
