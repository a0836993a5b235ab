#include "base/Mutex.h"

#include <windows.h>

namespace KO {

// Critical sections are recursive. Since Windows Vista entering and leaving
// one raises no structured exception, so neither call has a failure to report.
struct Mutex::Native
{
    CRITICAL_SECTION section;
};

Mutex::Mutex() : m_native(std::make_unique<Native>())
{
    InitializeCriticalSection(&m_native->section);
}

Mutex::~Mutex()
{
    DeleteCriticalSection(&m_native->section);
}

void Mutex::Lock()
{
    EnterCriticalSection(&m_native->section);
}

void Mutex::Unlock()
{
    LeaveCriticalSection(&m_native->section);
}

} // namespace KO
