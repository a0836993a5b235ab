#include "LogModule.h"

#include "InterfaceRecord.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "Utf16.h"

#include "base/Logging.h"

#include "monitor/lib/ILogModule.h"
#include "monitor/lib/RecordCategory.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <type_traits>

// The table is the one the page's loader calls: same places, same types.
static_assert(KO_REPORT_ENTRY_SCAN_RECORDS == kScanRecordsEntry, "scan records entry");
static_assert(KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS == kUpdatePackageRecordsEntry,
              "update package records entry");
static_assert(KO_REPORT_ENTRY_RECORD == kRecordEntry && KO_REPORT_OK == kRecordFound &&
                  KO_REPORT_E_NOT_FOUND == kRecordNotFound &&
                  KO_REPORT_E_NOT_SERVED == kEntryNotServed,
              "record entry and its results");
static_assert(std::is_same_v<KoReportRecordFunction,
                             std::int32_t(KO_LOG_MODULE_CALL*)(KoLogModule*, std::int64_t,
                                                               LogRecordCallback, void*)>,
              "record entry type");
static_assert(KO_REPORT_ENTRY_QUERY_RANGE == kQueryRangeEntry, "ranged query entry");
static_assert(KO_REPORT_ENTRY_RECORD_COUNTS == kRecordCountsEntry, "record counts entry");
static_assert(std::is_same_v<KoReportCallback, LogRecordCallback>, "callback type");
static_assert(std::is_same_v<KoReportQueryFunction, std::int32_t(KO_LOG_MODULE_CALL*)(
                                                        KoLogModule*, LogRecordCallback, void*)>,
              "query type");
static_assert(sizeof(KoInterfaceId) == sizeof(InterfaceId), "interface id layout");
static_assert(sizeof(KoLogModule) == sizeof(ILogModule), "object layout");
static_assert(KO_REPORT_HEARTBEAT == RecordCategory::kHeartbeat &&
                  KO_REPORT_EXECUTE_SCAN == RecordCategory::kExecuteScan &&
                  KO_REPORT_RANSOMWARE_FOUND == RecordCategory::kRansomwareFound &&
                  KO_REPORT_UPDATE_PACKAGE == RecordCategory::kUpdatePackage &&
                  KO_REPORT_PROGRAM_START == RecordCategory::kProgramStart,
              "category ids");

namespace {

thread_local std::string t_lastError;

constexpr std::int64_t kEarliest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kLatest = std::numeric_limits<std::int64_t>::max();

LogModule* Self(KoLogModule* module)
{
    return static_cast<LogModule*>(module);
}

template <std::int32_t Category>
std::int32_t KO_LOG_MODULE_CALL QueryCategory(KoLogModule* module, KoReportCallback callback,
                                              void* context)
{
    return module == nullptr ? KO_REPORT_E_INVALID
                             : Self(module)->Query(Category, kEarliest, kLatest, callback, context);
}

std::int32_t KO_LOG_MODULE_CALL QueryRange(KoLogModule* module, std::int32_t category,
                                           std::int64_t from, std::int64_t to,
                                           KoReportCallback callback, void* context)
{
    return module == nullptr ? KO_REPORT_E_INVALID
                             : Self(module)->Query(category, from, to, callback, context);
}

std::int32_t KO_LOG_MODULE_CALL StopQuery(KoLogModule* module, void* context)
{
    return module == nullptr ? KO_REPORT_E_INVALID : Self(module)->Stop(context);
}

std::int32_t KO_LOG_MODULE_CALL AppendOne(KoLogModule* module, const KoReportRecord* record)
{
    return module == nullptr ? KO_REPORT_E_INVALID : Self(module)->Append(&record, 1);
}

std::int32_t KO_LOG_MODULE_CALL AppendBatch(KoLogModule* module,
                                            const KoReportRecord* const* records,
                                            std::uint32_t count)
{
    return module == nullptr ? KO_REPORT_E_INVALID : Self(module)->Append(records, count);
}

std::int32_t KO_LOG_MODULE_CALL ClearCategory(KoLogModule* module, std::int32_t category)
{
    return module == nullptr ? KO_REPORT_E_INVALID : Self(module)->Clear(category);
}

std::int32_t KO_LOG_MODULE_CALL RecordById(KoLogModule* module, std::int64_t id,
                                           KoReportCallback callback, void* context)
{
    return module == nullptr ? KO_REPORT_E_INVALID : Self(module)->Record(id, callback, context);
}

std::int32_t KO_LOG_MODULE_CALL RecordCounts(KoLogModule* module, const std::int64_t* bounds,
                                             std::uint32_t count, std::int64_t* counts)
{
    return module == nullptr ? KO_REPORT_E_INVALID
                             : Self(module)->RecordCounts(bounds, count, counts);
}

std::int32_t KO_LOG_MODULE_CALL LastErrorEntry(KoLogModule*, KoReportChar* buffer,
                                               std::uint32_t capacity)
{
    return LogModule::LastError(buffer, capacity);
}

// Has the form of a query, the form of the entries the loader calls.
std::int32_t KO_LOG_MODULE_CALL NotServed(KoLogModule*, KoReportCallback, void*)
{
    return KO_REPORT_E_NOT_SERVED;
}

template <typename Function>
KoLogModuleEntry Entry(Function function)
{
    return reinterpret_cast<KoLogModuleEntry>(function);
}

using Table = std::array<KoLogModuleEntry, KO_REPORT_TABLE_SIZE>;

Table MakeTable()
{
    Table table;
    table.fill(Entry(&NotServed));
    table[KO_REPORT_ENTRY_PROGRAM_START_RECORDS] =
        Entry(&QueryCategory<RecordCategory::kProgramStart>);
    table[KO_REPORT_ENTRY_HEARTBEAT_RECORDS] = Entry(&QueryCategory<RecordCategory::kHeartbeat>);
    table[KO_REPORT_ENTRY_RANSOMWARE_RECORDS] =
        Entry(&QueryCategory<RecordCategory::kRansomwareFound>);
    table[KO_REPORT_ENTRY_SCAN_RECORDS] = Entry(&QueryCategory<RecordCategory::kExecuteScan>);
    table[KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS] =
        Entry(&QueryCategory<RecordCategory::kUpdatePackage>);
    table[KO_REPORT_ENTRY_QUERY_RANGE] = Entry(&QueryRange);
    table[KO_REPORT_ENTRY_STOP_QUERY] = Entry(&StopQuery);
    table[KO_REPORT_ENTRY_APPEND] = Entry(&AppendOne);
    table[KO_REPORT_ENTRY_APPEND_BATCH] = Entry(&AppendBatch);
    table[KO_REPORT_ENTRY_CLEAR] = Entry(&ClearCategory);
    table[KO_REPORT_ENTRY_LAST_ERROR] = Entry(&LastErrorEntry);
    table[KO_REPORT_ENTRY_RECORD] = Entry(&RecordById);
    table[KO_REPORT_ENTRY_RECORD_COUNTS] = Entry(&RecordCounts);
    return table;
}

const Table kTable = MakeTable();

} // namespace

LogModule::LogModule(std::shared_ptr<ReportStore> store, Retention retention)
    : KoLogModule{kTable.data()}, m_journal(std::move(store), retention), m_delivery(m_journal)
{}

LogModule::~LogModule() = default;

template <typename Call>
std::int32_t LogModule::Guard(Call&& call)
{
    try {
        call();
        t_lastError.clear();
        return KO_REPORT_OK;
    } catch (const ReportError& error) {
        t_lastError = error.what();
        return error.kind() == ReportError::Kind::Invalid ? KO_REPORT_E_INVALID
                                                          : KO_REPORT_E_STORAGE;
    } catch (const std::bad_alloc&) {
        t_lastError = "out of memory";
        return KO_REPORT_E_STORAGE;
    } catch (...) {
        t_lastError = "unexpected failure";
        return KO_REPORT_E_STORAGE; // nothing may unwind into the caller
    }
}

std::int32_t LogModule::Query(std::int32_t category, std::int64_t from, std::int64_t to,
                              KoReportCallback callback, void* context)
{
    return Guard([&] {
        ReportLayout::FieldCount(category); // throws for an unknown category
        if (callback == nullptr) {
            throw ReportError(ReportError::Kind::Invalid, "no callback");
        }
        m_delivery.Start({category, from, to, callback, context});
    });
}

std::int32_t LogModule::Stop(void* context)
{
    return Guard([&] { m_delivery.Stop(context); });
}

std::int32_t LogModule::Append(const KoReportRecord* const* records, std::uint32_t count)
{
    return Guard([&] {
        if (records == nullptr && count > 0) {
            throw ReportError(ReportError::Kind::Invalid, "no records");
        }
        std::vector<Report> reports;
        reports.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            reports.push_back(InterfaceRecord::ToReport(records[i]));
        }
        m_journal.Append(reports);
        m_delivery.Wake();
    });
}

std::int32_t LogModule::Clear(std::int32_t category)
{
    return Guard([&] { m_journal.Clear(category); });
}

std::int32_t LogModule::Record(std::int64_t id, KoReportCallback callback, void* context)
{
    bool found = false;
    const std::int32_t result = Guard([&] {
        if (callback == nullptr) {
            throw ReportError(ReportError::Kind::Invalid, "no callback");
        }
        const std::optional<Report> report = m_journal.Store().Find(id);
        if (!report) {
            return;
        }
        std::optional<InterfaceRecord> record;
        try {
            record.emplace(*report, 0);
        } catch (const ReportError& error) {
            LOG_ERROR << "the stored record " << id << " cannot be delivered: " << error.what();
            return;
        }
        found = true;
        callback(context, &record->record(), 1, static_cast<std::uint32_t>(report->category));
    });
    if (result == KO_REPORT_OK && !found) {
        t_lastError = "no record has the id " + std::to_string(id);
        return KO_REPORT_E_NOT_FOUND;
    }
    return result;
}

std::int32_t LogModule::RecordCounts(const std::int64_t* bounds, std::uint32_t count,
                                     std::int64_t* counts)
{
    return Guard([&] {
        if (count > 0 && (bounds == nullptr || counts == nullptr)) {
            throw ReportError(ReportError::Kind::Invalid, "no bounds or no counts");
        }
        if (!std::is_sorted(bounds, bounds + (count > 0 ? count + 1 : 0))) {
            throw ReportError(ReportError::Kind::Invalid, "the bounds descend");
        }
        // Written only once every count is known: a failure leaves `counts` alone.
        std::vector<std::int64_t> counted(count, 0);
        ReportStore& store = m_journal.Store();
        for (std::uint32_t i = 0; i < count; ++i) {
            for (const std::int32_t category : RecordCategory::kAll) {
                counted[i] += store.Count(category, bounds[i], bounds[i + 1]);
            }
        }
        std::copy(counted.begin(), counted.end(), counts);
    });
}

// static
std::int32_t LogModule::LastError(KoReportChar* buffer, std::uint32_t capacity)
{
    const std::vector<std::uint16_t> text = Utf16::FromUtf8(t_lastError);
    const std::size_t length = text.size() - 1;
    if (buffer != nullptr && capacity > 0) {
        const std::size_t copied = std::min<std::size_t>(length, capacity - 1);
        std::memcpy(buffer, text.data(), copied * sizeof(KoReportChar));
        buffer[copied] = 0;
    }
    return static_cast<std::int32_t>(length);
}
