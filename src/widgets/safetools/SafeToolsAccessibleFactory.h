#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessibility interface of the category grid's CIconButton
// (IconButtonAccessible). Each button installs the factory when constructed.
class SafeToolsAccessibleFactory
{
public:
    // Installs create() with QAccessible; installing again changes nothing.
    static void install();
    static QAccessibleInterface* create(const QString& className, QObject* object);
};
