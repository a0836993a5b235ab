#pragma once

#include <QComboBox>

// The combo box of a table's combo-box column: fixed 120 x 26, knows the
// record it currently shows and a second index of the caller's choosing.
// It ignores the wheel, so that the wheel scrolls the table instead of
// changing the selection, and paints its style-sheet background.
class ComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ComboBox)

    void setRecordIndex(int index) { m_recordIndex = index; }
    int recordIndex() const { return m_recordIndex; }
    void setSecondIndex(int index) { m_secondIndex = index; }
    int secondIndex() const { return m_secondIndex; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int m_recordIndex = 0;
    int m_secondIndex = 0;
};
