#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility interfaces of the page's own painted controls: the view
// by time's list (DiaryListAccessible). Installs base_ui's and the category
// grid's factories with its own, so the list's constructor, which installs
// it, gives a plug-in and a test alike every painted control's interface.
class MonitorAccessibleFactory
{
public:
    // Installs the factories; installing again changes nothing.
    static void install();
    static QAccessibleInterface* create(const QString& className, QObject* object);
};
