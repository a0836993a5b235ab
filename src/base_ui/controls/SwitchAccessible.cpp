#include "base_ui/controls/SwitchAccessible.h"

#include "base_ui/controls/CSwitchButton.h"

SwitchAccessible::SwitchAccessible(CSwitchButton* button)
    : QAccessibleWidget(button, QAccessible::CheckBox)
{}

CSwitchButton* SwitchAccessible::button() const
{
    return static_cast<CSwitchButton*>(widget());
}

QAccessible::State SwitchAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->isChecked();
    if (!button()->isClickable()) {
        state.disabled = true;
    }
    return state;
}
