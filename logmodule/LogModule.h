#pragma once

#include "Journal.h"
#include "KoLogModule.h"
#include "RecordDelivery.h"

#include <cstdint>
#include <memory>

// The module's object behind the table of KoLogModule.h: the journal over
// its store and the delivery thread. Every entry catches what it throws,
// answers a KO_REPORT_* result and keeps the message of the calling thread's
// last failure for KO_REPORT_ENTRY_LAST_ERROR.
class LogModule : public KoLogModule
{
public:
    // Starts the delivery thread; throws std::system_error when it cannot.
    explicit LogModule(std::shared_ptr<ReportStore> store, Retention retention = {});
    ~LogModule();

    LogModule(const LogModule&) = delete;
    LogModule& operator=(const LogModule&) = delete;

    std::int32_t Query(std::int32_t category, std::int64_t from, std::int64_t to,
                       KoReportCallback callback, void* context);
    std::int32_t Stop(void* context);
    std::int32_t Append(const KoReportRecord* const* records, std::uint32_t count);
    std::int32_t Clear(std::int32_t category);
    // Delivers the record `id` to `callback` on this thread; KO_REPORT_E_NOT_FOUND
    // without one (a stored record that cannot be delivered counts as none).
    std::int32_t Record(std::int64_t id, KoReportCallback callback, void* context);

    std::int32_t RecordCounts(const std::int64_t* bounds, std::uint32_t count,
                              std::int64_t* counts);
    static std::int32_t LastError(KoReportChar* buffer, std::uint32_t capacity);

private:
    // Runs `call`, turning what it throws into a result and the last error.
    template <typename Call>
    static std::int32_t Guard(Call&& call);

    Journal m_journal;
    RecordDelivery m_delivery; // after the journal, which it reads
};
