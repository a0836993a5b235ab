#pragma once

#include <QString>
#include <QWidget>

class QLabel;

// One field of the detail box: a name label followed by a value label. A
// value wider than the field's width is shown elided in the middle; the
// value label's tool tip always holds the whole value. Both show plain text
// (a value that looks like markup is shown as it is), the value on one line
// (its line breaks shown as spaces; the tool tip keeps them). The widget fits
// itself to its two labels. Owned by its Qt parent; GUI thread only.
class CDetailLabel : public QWidget
{
    Q_OBJECT

public:
    explicit CDetailLabel(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CDetailLabel)

    // Shows `name`, then `value` elided to `width` pixels in the value
    // label's font, and fits the labels and the field to their texts.
    void setContent(const QString& name, const QString& value, int width);

    QString name() const;
    // The text shown, elided when the value does not fit.
    QString shownValue() const;
    // The whole value, as the value label's tool tip shows it.
    QString value() const;

    const QLabel* nameLabel() const { return m_nameLabel; }
    const QLabel* valueLabel() const { return m_valueLabel; }

private:
    QLabel* m_nameLabel;
    QLabel* m_valueLabel;
    QString m_value;
};
