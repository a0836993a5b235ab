#pragma once

#include "monitor/lib/ILogModule.h"

#include "base/Library.h"
#include "base/NotCopyable.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ILogRecordHandler;

// Loads the external log module, obtains its ILogModule object and forwards
// record queries to it.
//
// The module is the file kModulePath in the directory of the host executable,
// loaded by absolute path (KO::Library). The constructor registers the loader
// as the process-wide instance (the last one constructed wins); the
// destructor releases the module object with DestroyDllObject, frees the
// module and, if it is still the registered instance, leaves none. Releasing
// the object (here or in a later LoadSdk) ends the registrations of the
// handlers it served and tells each of them (recordsEnded).
//
// LoadSdk and queryRecords run on the GUI thread; records reach their
// handlers on the module's threads, and only until stopRecords. Failures are
// reported by the result and ERROR log lines; nothing throws.
class CLogModuleLib : private KO::NotCopyable
{
public:
    // "./KoLogModule.dll" on Windows, "./libKoLogModule.so" elsewhere.
    static const wchar_t* const kModulePath;

    CLogModuleLib();
    ~CLogModuleLib();

    // The registered loader, or null.
    static CLogModuleLib* instance();

    // Loads the module and obtains its object. A loader that already holds
    // an object releases it first.
    bool LoadSdk();

    // Whether the loader holds a module object.
    bool isLoaded() const { return m_module != nullptr; }

    // Registers `handler` for the records of `category` and asks the module
    // for them through the category's query entry; an id outside the five
    // categories asks for nothing. False without a module object or a
    // handler, true otherwise.
    bool queryRecords(int category, ILogRecordHandler* handler);

    // Deletes every record of `category` in the module's journal through its
    // clear entry. False, with an ERROR line, without a module object, for an
    // id outside the five categories, or when the module does not serve the
    // entry or fails.
    bool clearRecords(int category);

    // Registers `handler` for the records of `category` whose time lies in
    // [from, to] (milliseconds since 1970 UTC, both ends included) and asks
    // the module's ranged query for them: the stored ones newest first, then
    // those appended later in the range. False without a module object or a
    // handler, or when the module refuses the query.
    bool queryRange(int category, std::int64_t from, std::int64_t to, ILogRecordHandler* handler);

    // The number of records of all categories in each [bounds[i],
    // bounds[i + 1]) for ascending `bounds` (milliseconds since 1970 UTC), one
    // count per range; empty without a module object, for fewer than two
    // bounds, or when the module does not count.
    std::vector<std::int64_t> recordCounts(const std::vector<std::int64_t>& bounds) const;

    // Ends every registration of `handler` and asks the module to stop the
    // queries made for it (its stop entry); once it returns no record
    // reaches the handler. GUI thread, never from a record's delivery.
    static void stopRecords(ILogRecordHandler* handler);

    // What fetchRecord found.
    enum class Fetch
    {
        Found,     // `read` was called with the record
        NotFound,  // no record has that id (cleared, pruned, never appended)
        NotServed, // the module has no entry for single records
        Failed,    // no module object, or the module failed
    };
    // Receives the module's record (a KoReportRecord), valid during the call only.
    using RecordReader = std::function<void(const void* record)>;

    // Asks the module for the record `id`; `read` runs on this thread before
    // fetchRecord returns, and only for Found. An exception that `read`
    // throws is caught before it reaches the module: Failed, an ERROR line.
    Fetch fetchRecord(std::int64_t id, const RecordReader& read) const;

private:
    // The callback given to the module: forwards a record to its handler.
    // Returns 0, or 1 when the handler is gone, so that the module can end
    // the query.
    static std::int32_t onRecord(void* context, const void* record, std::uint32_t value1,
                                 std::uint32_t value2);

    // `result` of a failed entry for a log line: the number, and the module's
    // own message for this thread's last failure when it gives one.
    std::string failure(std::int32_t result) const;

    // Asks the module to end the queries made with `context`.
    void stopQuery(void* context) const;

    // Destroys the module object, if any.
    void releaseModule();

    ILogModule* m_module = nullptr;
    KO::Library m_library;
    DestroyDllObjectFunction m_destroyDllObject = nullptr;

    static std::atomic<CLogModuleLib*> s_instance;
};
