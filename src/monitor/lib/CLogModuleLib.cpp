#include "monitor/lib/CLogModuleLib.h"

#include "monitor/lib/LogRecordHandlers.h"
#include "monitor/lib/RecordCategory.h"

#include "base/Logging.h"
#include "base/Unicode.h"

namespace {

constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// The table entry that queries the records of `category`, or kNoEntry.
std::size_t QueryEntry(int category)
{
    switch (category) {
    case RecordCategory::kProgramStart:
        return kProgramStartRecordsEntry;
    case RecordCategory::kHeartbeat:
        return kHeartbeatRecordsEntry;
    case RecordCategory::kRansomwareFound:
        return kRansomwareRecordsEntry;
    case RecordCategory::kExecuteScan:
        return kScanRecordsEntry;
    case RecordCategory::kUpdatePackage:
        return kUpdatePackageRecordsEntry;
    default:
        return kNoEntry;
    }
}

// The context of a fetch: the reader and what became of the record.
struct Reading
{
    const CLogModuleLib::RecordReader& read;
    bool called = false;
    bool failed = false;
};

// The callback of fetchRecord, on the calling thread; nothing may unwind
// into the module.
std::int32_t OnFetchedRecord(void* context, const void* record, std::uint32_t /*value1*/,
                             std::uint32_t /*value2*/)
{
    auto& reading = *static_cast<Reading*>(context);
    reading.called = true;
    try {
        reading.read(record);
    } catch (...) {
        reading.failed = true;
        LOG_ERROR << "a fetched record could not be read";
    }
    return 0;
}

// A NUL-terminated UTF-16 text of the module as UTF-8: AppendUtf8 joins
// surrogate pairs in either width of wchar_t, and a lone surrogate becomes
// U+FFFD.
std::string Utf8(const std::uint16_t* units)
{
    std::wstring wide;
    for (const std::uint16_t* unit = units; *unit != 0; ++unit) {
        wide += static_cast<wchar_t>(*unit);
    }
    std::string text;
    KO::Unicode::AppendUtf8(wide.data(), wide.size(), text);
    return text;
}

} // namespace

#if defined(_WIN32)
const wchar_t* const CLogModuleLib::kModulePath = L"./KoLogModule.dll";
#else
const wchar_t* const CLogModuleLib::kModulePath = L"./libKoLogModule.so";
#endif

std::atomic<CLogModuleLib*> CLogModuleLib::s_instance{nullptr};

CLogModuleLib::CLogModuleLib() : m_library(kModulePath)
{
    s_instance = this;
}

CLogModuleLib::~CLogModuleLib()
{
    releaseModule();
    CLogModuleLib* registered = this;
    s_instance.compare_exchange_strong(registered, nullptr);
}

// static
CLogModuleLib* CLogModuleLib::instance()
{
    return s_instance;
}

bool CLogModuleLib::LoadSdk()
{
    LOG_DEBUG << "LoadSdk.";
    // Loading frees the module, whose code the object runs on.
    releaseModule();
    if (!m_library.Load()) {
        LOG_ERROR << "Library::Load() fails. errMsg:" << m_library.GetErrMsg();
        return false;
    }
    const auto createDllObject =
        reinterpret_cast<CreateDllObjectFunction>(m_library.Resolve("CreateDllObject"));
    if (createDllObject == nullptr) {
        LOG_ERROR << "get CreateDllObject fails.";
        return false;
    }
    m_destroyDllObject =
        reinterpret_cast<DestroyDllObjectFunction>(m_library.Resolve("DestroyDllObject"));
    if (m_destroyDllObject == nullptr) {
        LOG_ERROR << "get DestroyDllObject fails.";
        return false;
    }
    createDllObject(&kLogModuleInterfaceId, &m_module);
    if (m_module == nullptr) {
        LOG_ERROR << "get ILogModule fails.";
        return false;
    }
    return true;
}

bool CLogModuleLib::queryRecords(int category, ILogRecordHandler* handler)
{
    if (m_module == nullptr || handler == nullptr) {
        return false;
    }
    const std::size_t entry = QueryEntry(category);
    if (entry == kNoEntry) {
        return true;
    }
    void* const context = LogRecordHandlers::Get().Add(handler, this);
    const auto query = reinterpret_cast<LogModuleQuery>(m_module->table[entry]);
    query(m_module, &CLogModuleLib::onRecord, context);
    return true;
}

bool CLogModuleLib::clearRecords(int category)
{
    if (m_module == nullptr) {
        LOG_ERROR << "clearRecords(" << category << "): no log module.";
        return false;
    }
    if (QueryEntry(category) == kNoEntry) {
        LOG_ERROR << "clearRecords(" << category << "): no such category.";
        return false;
    }
    const auto clear = reinterpret_cast<LogModuleClear>(m_module->table[kClearRecordsEntry]);
    const std::int32_t result = clear(m_module, category);
    if (result != 0) {
        LOG_ERROR << "clearRecords(" << category << ") fails: " << failure(result);
        return false;
    }
    LOG_INFO << "clearRecords(" << category << ").";
    return true;
}

bool CLogModuleLib::queryRange(int category, std::int64_t from, std::int64_t to,
                               ILogRecordHandler* handler)
{
    if (m_module == nullptr || handler == nullptr) {
        return false;
    }
    void* const context = LogRecordHandlers::Get().Add(handler, this);
    const auto query = reinterpret_cast<LogModuleQueryRange>(m_module->table[kQueryRangeEntry]);
    const std::int32_t result =
        query(m_module, category, from, to, &CLogModuleLib::onRecord, context);
    if (result != 0) {
        LOG_ERROR << "the ranged query of category " << category << " fails: " << failure(result);
    }
    return result == 0;
}

std::vector<std::int64_t> CLogModuleLib::recordCounts(const std::vector<std::int64_t>& bounds) const
{
    if (m_module == nullptr || bounds.size() < 2) {
        return {};
    }
    std::vector<std::int64_t> counts(bounds.size() - 1, 0);
    const auto count = reinterpret_cast<LogModuleRecordCounts>(m_module->table[kRecordCountsEntry]);
    const std::int32_t result =
        count(m_module, bounds.data(), static_cast<std::uint32_t>(counts.size()), counts.data());
    if (result != 0) {
        LOG_DEBUG << "no record counts: " << result;
        return {};
    }
    return counts;
}

// static
void CLogModuleLib::stopRecords(ILogRecordHandler* handler)
{
    // A registration's source is the loader that made its query; a loader
    // that releases its module ends its registrations first, so the source
    // of one still registered holds the module that runs the query.
    for (const LogRecordHandlers::Ended& ended : LogRecordHandlers::Get().Remove(handler)) {
        if (ended.source != nullptr) {
            static_cast<const CLogModuleLib*>(ended.source)->stopQuery(ended.context);
        }
    }
}

std::string CLogModuleLib::failure(std::int32_t result) const
{
    std::string text = std::to_string(result);
    if (m_module == nullptr || result == kEntryNotServed) {
        return text; // an entry that is not served sets no message
    }
    constexpr std::uint32_t kCapacity = 512;
    std::uint16_t message[kCapacity] = {};
    const auto lastError = reinterpret_cast<LogModuleLastError>(m_module->table[kLastErrorEntry]);
    if (lastError(m_module, message, kCapacity) > 0 && message[0] != 0) {
        text += " (" + Utf8(message) + ")";
    }
    return text;
}

void CLogModuleLib::stopQuery(void* context) const
{
    if (m_module == nullptr) {
        return;
    }
    const auto stop = reinterpret_cast<LogModuleStop>(m_module->table[kStopQueryEntry]);
    const std::int32_t result = stop(m_module, context);
    if (result != 0) {
        LOG_DEBUG << "the module does not stop a query: " << result;
    }
}

// static
std::int32_t CLogModuleLib::onRecord(void* context, const void* record, std::uint32_t value1,
                                     std::uint32_t value2)
{
    // Non-zero tells the module that nobody takes this query's records any more.
    return LogRecordHandlers::Get().Deliver(context, record, value1, value2) ? 0 : 1;
}

CLogModuleLib::Fetch CLogModuleLib::fetchRecord(std::int64_t id, const RecordReader& read) const
{
    if (m_module == nullptr || !read) {
        return Fetch::Failed;
    }
    Reading reading{read};
    const auto fetch = reinterpret_cast<LogModuleRecordFetch>(m_module->table[kRecordEntry]);
    const std::int32_t result = fetch(m_module, id, &OnFetchedRecord, &reading);
    switch (result) {
    case kRecordFound:
        return reading.called && !reading.failed ? Fetch::Found : Fetch::Failed;
    case kRecordNotFound:
        return Fetch::NotFound;
    case kEntryNotServed:
        return Fetch::NotServed;
    default:
        LOG_ERROR << "the record " << id << " cannot be read: " << failure(result);
        return Fetch::Failed;
    }
}

void CLogModuleLib::releaseModule()
{
    if (m_destroyDllObject != nullptr && m_module != nullptr) {
        m_destroyDllObject(m_module);
    }
    // Whatever the module was asked for, it delivers nothing more.
    LogRecordHandlers::Get().End(this);
    m_module = nullptr;
    m_destroyDllObject = nullptr;
}
