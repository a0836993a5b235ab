#pragma once

// The binary interface of the external log module (KoLogModule): its two
// exports, the interface identifier it is asked for and the object it hands
// out. Shared by the loader and the stand-in module; C layout only, so that
// any compiler can build either side.

#include <cstddef>
#include <cstdint>

// The callee-cleans convention of the object's entries (it matters on 32-bit
// Windows only).
#if defined(_WIN32)
#define KO_LOG_MODULE_CALL __stdcall
#else
#define KO_LOG_MODULE_CALL
#endif

// A 16-byte interface identifier in the usual GUID layout.
struct InterfaceId
{
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];
};
static_assert(sizeof(InterfaceId) == 16, "an interface identifier has 16 bytes");

// {056C8548-F8F7-41CC-BA83-2CA84FB4555E}: the ILogModule interface.
inline constexpr InterfaceId kLogModuleInterfaceId = {
    0x056C8548, 0xF8F7, 0x41CC, {0xBA, 0x83, 0x2C, 0xA8, 0x4F, 0xB4, 0x55, 0x5E}};

// Receives one record: the query's context, the record (valid during the call
// only; its layout is the module's) and two values. Returns 0.
using LogRecordCallback = std::int32_t (*)(void* context, const void* record, std::uint32_t value1,
                                           std::uint32_t value2);

// An entry of the object's table, cast to its real type before a call.
using LogModuleEntry = void (*)();

// The module's object: its first word points to the table of entries.
struct ILogModule
{
    const LogModuleEntry* table;
};

// The type of the two record queries: the module delivers records of its
// category to `callback`, passing `context` back, on a thread of its choice.
using LogModuleQuery = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module,
                                                         LogRecordCallback callback, void* context);

// Table indices of the record queries, one per category: the 1st entry
// (program start), the 2nd (heartbeat), the 3rd (ransomware found), the 11th
// (execute scan) and the 35th (download update package).
inline constexpr std::size_t kProgramStartRecordsEntry = 0;
inline constexpr std::size_t kHeartbeatRecordsEntry = 1;
inline constexpr std::size_t kRansomwareRecordsEntry = 2;
inline constexpr std::size_t kScanRecordsEntry = 10;
inline constexpr std::size_t kUpdatePackageRecordsEntry = 34;

// The entry that ends every query made with one context (the 5th); once it
// returns, the module calls the callback for them no more. Never called from
// the callback.
inline constexpr std::size_t kStopQueryEntry = 4;
using LogModuleStop = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module, void* context);

// The entry that deletes every record of one category (the 8th); it answers
// 0 on success, a negative code otherwise (-1: the module does not serve it).
inline constexpr std::size_t kClearRecordsEntry = 7;
using LogModuleClear = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module, std::int32_t category);

// The entry that copies the message of this thread's last failed call (the
// 9th) into a buffer of UTF-16 code units, NUL-terminated and cut to the
// capacity; it answers the message's whole length.
inline constexpr std::size_t kLastErrorEntry = 8;
using LogModuleLastError = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module,
                                                             std::uint16_t* buffer,
                                                             std::uint32_t capacity);

// The entry that delivers one record by its id, on the calling thread,
// before it returns: the 10th. It answers kRecordFound, kRecordNotFound
// (no record has that id), kEntryNotServed (a module without the entry) or
// another negative code.
inline constexpr std::size_t kRecordEntry = 9;
using LogModuleRecordFetch = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module, std::int64_t id,
                                                               LogRecordCallback callback,
                                                               void* context);
inline constexpr std::int32_t kRecordFound = 0;
inline constexpr std::int32_t kEntryNotServed = -1;
inline constexpr std::int32_t kRecordNotFound = -4;

// The ranged query (4th entry): the records of `category` whose time lies in
// [from, to] (milliseconds since 1970 UTC, both ends included), delivered
// like the plain queries' records.
inline constexpr std::size_t kQueryRangeEntry = 3;
using LogModuleQueryRange = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module,
                                                              std::int32_t category,
                                                              std::int64_t from, std::int64_t to,
                                                              LogRecordCallback callback,
                                                              void* context);

// The record counts (12th entry): `count` + 1 ascending bounds (milliseconds
// since 1970 UTC) in, the number of records of all categories in each
// [bounds[i], bounds[i + 1]) out. A module without it answers a negative
// result.
inline constexpr std::size_t kRecordCountsEntry = 11;
using LogModuleRecordCounts = std::int32_t(KO_LOG_MODULE_CALL*)(ILogModule* module,
                                                                const std::int64_t* bounds,
                                                                std::uint32_t count,
                                                                std::int64_t* counts);

// The exports. CreateDllObject stores the object for the interface `id` in
// `*module` (null when it has none); DestroyDllObject releases an object. The
// loader does not use their results.
using CreateDllObjectFunction = std::int32_t (*)(const InterfaceId* id, ILogModule** module);
using DestroyDllObjectFunction = std::int32_t (*)(ILogModule* module);
