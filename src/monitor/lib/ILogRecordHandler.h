#pragma once

#include <cstdint>

// Receives the records that the log module delivers for a query
// (CLogModuleLib::queryRecords).
//
// loadData runs on the module's thread, which need not be the GUI thread, so
// it touches no widget and never waits for the GUI thread. A handler calls
// CLogModuleLib::stopRecords(this) first thing in its destructor; after that
// no record reaches it.
class ILogRecordHandler
{
public:
    // `record` is valid during the call only; its layout and the meaning of
    // the two values belong to the module.
    virtual void loadData(const void* record, std::uint32_t value1, std::uint32_t value2) = 0;

    // The module that delivered this handler's records is gone (its loader
    // released it): no record follows. Runs once, on the releasing thread,
    // under the same rules as loadData. Does nothing unless overridden.
    virtual void recordsEnded() {}

protected:
    ~ILogRecordHandler() = default;
};
