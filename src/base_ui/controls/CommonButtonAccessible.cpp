#include "base_ui/controls/CommonButtonAccessible.h"

#include "base_ui/controls/CCommonButton.h"

CommonButtonAccessible::CommonButtonAccessible(CCommonButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{}

QString CommonButtonAccessible::text(QAccessible::Text type) const
{
    const QString own = QAccessibleWidget::text(type);
    if (type != QAccessible::Name || !own.isEmpty()) {
        return own;
    }
    return static_cast<CCommonButton*>(widget())->text();
}
