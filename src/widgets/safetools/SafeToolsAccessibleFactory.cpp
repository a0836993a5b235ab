#include "widgets/safetools/SafeToolsAccessibleFactory.h"

#include "widgets/safetools/CIconButton.h"
#include "widgets/safetools/IconButtonAccessible.h"

#include <QAccessible>

void SafeToolsAccessibleFactory::install()
{
    QAccessible::installFactory(&SafeToolsAccessibleFactory::create);
}

QAccessibleInterface* SafeToolsAccessibleFactory::create(const QString& className, QObject* object)
{
    if (className == QLatin1String("CIconButton")) {
        if (auto* button = qobject_cast<CIconButton*>(object)) {
            return new IconButtonAccessible(button);
        }
    }
    return nullptr;
}
