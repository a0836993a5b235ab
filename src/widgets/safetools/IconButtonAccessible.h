#pragma once

#include <QAccessibleWidget>

class CIconButton;

// What a screen reader sees of a category button: a button named by its
// category's title, described by its subtitle; pressing it clicks it.
class IconButtonAccessible : public QAccessibleWidget
{
public:
    explicit IconButtonAccessible(CIconButton* button);

    QString text(QAccessible::Text type) const override;
};
