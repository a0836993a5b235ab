#pragma once

#include "base/Mutex.h"
#include "base/NotCopyable.h"

#include <cstdint>
#include <map>
#include <vector>

class ILogRecordHandler;

// The record handlers that queries registered, by registration number.
//
// The log module gets the number as its callback context, never a handler's
// address: a record that arrives after its handler was removed finds no
// handler and is dropped, even when a new handler lives at the same address.
// Thread-safe: Deliver holds the lock while the handler runs, so Remove
// returns only once no delivery to that handler is running (a handler must
// therefore never wait for a thread that may be calling Remove).
class LogRecordHandlers : private KO::NotCopyable
{
public:
    LogRecordHandlers() = default;

    // The process-wide registry, never destroyed: the module's threads may
    // deliver while the process exits.
    static LogRecordHandlers& Get();

    // Registers `handler` (not null) for the records of `source` (the
    // loader whose module delivers them) and returns the context to give the
    // module for it.
    void* Add(ILogRecordHandler* handler, const void* source = nullptr);

    // A registration that Remove ended: its context and its source.
    struct Ended
    {
        void* context;
        const void* source;
    };

    // Ends every registration of `handler`, waiting for a running delivery,
    // and returns them.
    std::vector<Ended> Remove(ILogRecordHandler* handler);

    // Ends every registration for `source` and tells each handler so
    // (recordsEnded), waiting for a running delivery: `source`'s module
    // delivers nothing more.
    void End(const void* source);

    // Hands a record to the handler registered under `context`, if any.
    // Never throws: nothing may unwind into the module.
    bool Deliver(void* context, const void* record, std::uint32_t value1,
                 std::uint32_t value2) noexcept;

private:
    KO::Mutex m_mutex;
    struct Registration
    {
        ILogRecordHandler* handler;
        const void* source;
    };

    std::map<std::uintptr_t, Registration> m_handlers;
    std::uintptr_t m_lastNumber = 0;
};
