#pragma once

#include "base/NotCopyable.h"
#include "base/Object.h"

#include <memory>

namespace KO {

// A recursive lock: the owning thread may lock again, and must unlock as
// often as it locked. Unlock must be called by the owning thread. Lock and
// Unlock throw SystemException when the system refuses the operation.
class Mutex : public Object, private NotCopyable
{
public:
    Mutex();
    ~Mutex() override;

    void Lock();
    void Unlock();

private:
    struct Native;
    std::unique_ptr<Native> m_native;
};

} // namespace KO
