// The plug-in's only export. Everything else in the library is hidden.

#include "monitor/AntivirusMonitorWidget.h"

#if defined(_WIN32)
#define KO_PLUGIN_EXPORT __declspec(dllexport)
#else
#define KO_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" KO_PLUGIN_EXPORT iAntivirusMonitor* getInterface()
{
    return new AntivirusMonitorWidget();
}
