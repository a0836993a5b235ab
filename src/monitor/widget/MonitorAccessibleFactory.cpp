#include "monitor/widget/MonitorAccessibleFactory.h"

#include "base_ui/controls/BaseUiAccessibleFactory.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"
#include "monitor/widget/controlbyclass/DiaryListAccessible.h"
#include "widgets/safetools/SafeToolsAccessibleFactory.h"

#include <QAccessible>

void MonitorAccessibleFactory::install()
{
    BaseUiAccessibleFactory::install();
    SafeToolsAccessibleFactory::install();
    QAccessible::installFactory(&MonitorAccessibleFactory::create);
}

QAccessibleInterface* MonitorAccessibleFactory::create(const QString& className, QObject* object)
{
    if (className == QLatin1String("CProgramDiaryListWidget")) {
        if (auto* list = qobject_cast<CProgramDiaryListWidget*>(object)) {
            return new DiaryListAccessible(list);
        }
    }
    return nullptr;
}
