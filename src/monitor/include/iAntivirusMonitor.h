#pragma once

#include "CToolWidget.h"

// The behaviour-monitor page as the host sees it: the tool-page interface,
// refined for this page without adding anything.
class iAntivirusMonitor : public CToolWidget
{
public:
    ~iAntivirusMonitor() override = default;
};

// The plug-in's only export, "getInterface" (C linkage): a new page without
// parent, resources loaded and log opened, child widgets not yet built.
// Ownership passes to the caller. Resolve it by this name at run time.
using GetInterfaceFunction = iAntivirusMonitor* (*)();
inline constexpr char kGetInterfaceSymbol[] = "getInterface";
