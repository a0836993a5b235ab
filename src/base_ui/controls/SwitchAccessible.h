#pragma once

#include <QAccessibleWidget>

class CSwitchButton;

// What a screen reader sees of a CSwitchButton: a check box, checked while
// the switch is on, unavailable while it is not clickable; named by the
// widget's accessible name (the page gives it its label's text). Its picture
// and focus frame are drawing, not children.
class SwitchAccessible : public QAccessibleWidget
{
public:
    explicit SwitchAccessible(CSwitchButton* button);

    QAccessible::State state() const override;
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

private:
    CSwitchButton* button() const;
};
