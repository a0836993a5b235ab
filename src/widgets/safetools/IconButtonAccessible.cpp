#include "widgets/safetools/IconButtonAccessible.h"

#include "widgets/safetools/CIconButton.h"

IconButtonAccessible::IconButtonAccessible(CIconButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{}

QString IconButtonAccessible::text(QAccessible::Text type) const
{
    const QString own = QAccessibleWidget::text(type);
    if (!own.isEmpty()) {
        return own;
    }
    const auto* button = static_cast<const CIconButton*>(widget());
    switch (type) {
    case QAccessible::Name:
        return button->title();
    case QAccessible::Description:
        return button->subTitle();
    default:
        return {};
    }
}
