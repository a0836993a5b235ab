#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility interfaces of base_ui's painted controls: CTableWidget
// (TableAccessible), CSwitchButton (SwitchAccessible) and CCommonButton
// (CommonButtonAccessible). Each of those controls installs the factory when
// constructed, so a plug-in and a test alike get them with the first control.
class BaseUiAccessibleFactory
{
public:
    // Installs create() with QAccessible; installing again changes nothing.
    static void install();
    // The interface for `object` when it is one of the controls above (its
    // own class, not a subclass, is `className`), else null.
    static QAccessibleInterface* create(const QString& className, QObject* object);
};
