#pragma once

#include <QAccessibleWidget>

class CCommonButton;

// What a screen reader sees of a CCommonButton: a button named by its text
// (or by its accessible name, for a button that shows only a picture).
class CommonButtonAccessible : public QAccessibleWidget
{
public:
    explicit CommonButtonAccessible(CCommonButton* button);

    QString text(QAccessible::Text type) const override;
};
