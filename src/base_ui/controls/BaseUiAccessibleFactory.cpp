#include "base_ui/controls/BaseUiAccessibleFactory.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CSwitchButton.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/CommonButtonAccessible.h"
#include "base_ui/controls/SwitchAccessible.h"
#include "base_ui/controls/TableAccessible.h"

#include <QAccessible>

void BaseUiAccessibleFactory::install()
{
    QAccessible::installFactory(&BaseUiAccessibleFactory::create);
}

QAccessibleInterface* BaseUiAccessibleFactory::create(const QString& className, QObject* object)
{
    if (className == QLatin1String("CTableWidget")) {
        if (auto* table = qobject_cast<CTableWidget*>(object)) {
            return new TableAccessible(table);
        }
    } else if (className == QLatin1String("CSwitchButton")) {
        if (auto* button = qobject_cast<CSwitchButton*>(object)) {
            return new SwitchAccessible(button);
        }
    } else if (className == QLatin1String("CCommonButton")) {
        if (auto* button = qobject_cast<CCommonButton*>(object)) {
            return new CommonButtonAccessible(button);
        }
    }
    return nullptr;
}
