#ifndef KO_LOG_MODULE_H
#define KO_LOG_MODULE_H

/*
 * KoLogModule: the journal of the reports that the client sends about itself.
 *
 * This header is all a client needs to build against the module: C layout
 * only, usable from C and C++, no C++ type crosses the module boundary.
 * docs/LOG_MODULE.md describes the interface in full.
 *
 * The module exports CreateDllObject and DestroyDllObject. CreateDllObject,
 * asked for KO_LOG_MODULE_INTERFACE_ID, hands out a KoLogModule object whose
 * first word points to a table of entries; KO_REPORT_ENTRY_* are the entries'
 * indices. Each entry takes the object first and uses the KO_LOG_MODULE_CALL
 * convention. An entry answers 0 on success and a negative KO_REPORT_E_* code
 * on failure; an index that the module does not serve answers
 * KO_REPORT_E_NOT_SERVED.
 */

#include <stdint.h>

#if defined(_WIN32)
#define KO_LOG_MODULE_CALL __stdcall
#define KO_LOG_MODULE_EXPORT __declspec(dllexport)
#else
#define KO_LOG_MODULE_CALL
#define KO_LOG_MODULE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The five record categories (the ids of the catalogue). */
#define KO_REPORT_HEARTBEAT 100217
#define KO_REPORT_EXECUTE_SCAN 100218
#define KO_REPORT_RANSOMWARE_FOUND 100219
#define KO_REPORT_UPDATE_PACKAGE 100220
#define KO_REPORT_PROGRAM_START 100221

/* A UTF-16 code unit (native byte order). */
typedef uint16_t KoReportChar;

/*
 * One record. `size` is sizeof(KoReportRecord) as the side that filled it was
 * built with: a later version only appends fields, so a reader checks `size`
 * before it reads a field that it knows and an older writer may lack.
 *
 * `fields` holds `fieldCount` NUL-terminated UTF-16 texts in the order of the
 * category's KO_REPORT_FIELD_* indices (heartbeat records have none). A text
 * holds at most KO_REPORT_MAX_FIELD_BYTES bytes once encoded as UTF-8.
 *
 * Delivered records live for the duration of the callback only.
 */
typedef struct KoReportRecord
{
    uint32_t size;
    int32_t category;    /* KO_REPORT_* category id */
    int64_t id;          /* position in the journal, grows with every append; 0 when appending */
    int64_t time;        /* milliseconds since 1970-01-01 00:00 UTC */
    uint32_t flags;      /* KO_REPORT_FLAG_*; 0 when appending */
    uint32_t fieldCount; /* entries in `fields` */
    const KoReportChar* const* fields;
} KoReportRecord;

/* The record was appended after its query began (not part of the history). */
#define KO_REPORT_FLAG_LIVE 1u

#define KO_REPORT_MAX_FIELD_BYTES 65536

/* Program start: a description and the sixteen endpoint fields. */
#define KO_REPORT_FIELD_DESCRIPTION 0
#define KO_REPORT_FIELD_LAST_ACTIVE 1
#define KO_REPORT_FIELD_IP_ADDRESS 2
#define KO_REPORT_FIELD_MAC_ADDRESS 3
#define KO_REPORT_FIELD_CPU 4
#define KO_REPORT_FIELD_MEMORY 5
#define KO_REPORT_FIELD_DISK 6
#define KO_REPORT_FIELD_DISK_SERIAL 7
#define KO_REPORT_FIELD_CPU_USAGE 8
#define KO_REPORT_FIELD_MEMORY_USAGE 9
#define KO_REPORT_FIELD_DISK_USAGE 10
#define KO_REPORT_FIELD_OPERATING_SYSTEM 11
#define KO_REPORT_FIELD_SYSTEM_BITS 12
#define KO_REPORT_FIELD_MAINBOARD 13
#define KO_REPORT_FIELD_SOUND_CARD 14
#define KO_REPORT_FIELD_GRAPHICS_CARD 15
#define KO_REPORT_FIELD_OPTICAL_DRIVE 16
#define KO_REPORT_PROGRAM_START_FIELDS 17
/* Execute scan: the kind of scan and the description of its result. */
#define KO_REPORT_FIELD_SCAN_KIND 0
#define KO_REPORT_FIELD_SCAN_RESULT 1
#define KO_REPORT_EXECUTE_SCAN_FIELDS 2
/* Ransomware found: the threat's name and the action taken. */
#define KO_REPORT_FIELD_THREAT_NAME 0
#define KO_REPORT_FIELD_ACTION 1
#define KO_REPORT_RANSOMWARE_FOUND_FIELDS 2
/* Download update package: the version and the update notes. */
#define KO_REPORT_FIELD_VERSION 0
#define KO_REPORT_FIELD_NOTES 1
#define KO_REPORT_UPDATE_PACKAGE_FIELDS 2
/* Heartbeat: the time alone. */
#define KO_REPORT_HEARTBEAT_FIELDS 0

/*
 * Receives one record: the query's context, the record and two values:
 * value1 is the record's position in this delivery (1 for the first record
 * delivered, counting on through live records), value2 its category.
 * Called on the module's own thread. Returning non-zero ends the query.
 */
typedef int32_t (*KoReportCallback)(void* context, const void* record, uint32_t value1,
                                    uint32_t value2);

/* A 16-byte interface identifier in the usual GUID layout. */
typedef struct KoInterfaceId
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
} KoInterfaceId;

/* {056C8548-F8F7-41CC-BA83-2CA84FB4555E} */
#define KO_LOG_MODULE_INTERFACE_ID                                                                 \
    {                                                                                              \
        0x056C8548, 0xF8F7, 0x41CC,                                                                \
        {                                                                                          \
            0xBA, 0x83, 0x2C, 0xA8, 0x4F, 0xB4, 0x55, 0x5E                                         \
        }                                                                                          \
    }

typedef void (*KoLogModuleEntry)(void);

/* The object: its first word points to the table of entries. */
typedef struct KoLogModule
{
    const KoLogModuleEntry* table;
} KoLogModule;

/* Entry indices and their types. */

/*
 * Queries of one category: the stored records newest first, then, until the
 * query is stopped, records appended later by any process (flag
 * KO_REPORT_FLAG_LIVE), within a second of their append.
 */
#define KO_REPORT_ENTRY_PROGRAM_START_RECORDS 0
#define KO_REPORT_ENTRY_HEARTBEAT_RECORDS 1
#define KO_REPORT_ENTRY_RANSOMWARE_RECORDS 2
#define KO_REPORT_ENTRY_SCAN_RECORDS 10
#define KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS 34
typedef int32_t(KO_LOG_MODULE_CALL* KoReportQueryFunction)(KoLogModule* module,
                                                           KoReportCallback callback,
                                                           void* context);

/*
 * Records of `category` whose time lies in [from, to] (UTC milliseconds),
 * newest first, then live records in that range as with the plain queries.
 */
#define KO_REPORT_ENTRY_QUERY_RANGE 3
typedef int32_t(KO_LOG_MODULE_CALL* KoReportQueryRangeFunction)(KoLogModule* module,
                                                                int32_t category, int64_t from,
                                                                int64_t to,
                                                                KoReportCallback callback,
                                                                void* context);

/*
 * Stops every query made with `context`. Once it returns, the callback is no
 * longer called for them. Never call it from the callback (return non-zero
 * there instead).
 */
#define KO_REPORT_ENTRY_STOP_QUERY 4
typedef int32_t(KO_LOG_MODULE_CALL* KoReportStopFunction)(KoLogModule* module, void* context);

/* Appends one record (`id` and `flags` are ignored). */
#define KO_REPORT_ENTRY_APPEND 5
typedef int32_t(KO_LOG_MODULE_CALL* KoReportAppendFunction)(KoLogModule* module,
                                                            const KoReportRecord* record);

/* Appends `count` records in one transaction: all of them or none. */
#define KO_REPORT_ENTRY_APPEND_BATCH 6
typedef int32_t(KO_LOG_MODULE_CALL* KoReportAppendBatchFunction)(
    KoLogModule* module, const KoReportRecord* const* records, uint32_t count);

/* Deletes every record of `category`. */
#define KO_REPORT_ENTRY_CLEAR 7
typedef int32_t(KO_LOG_MODULE_CALL* KoReportClearFunction)(KoLogModule* module, int32_t category);

/*
 * Copies the message of this thread's last failed call into `buffer` as a
 * NUL-terminated UTF-16 text, cut to `capacity` units. Answers the message's
 * full length in units.
 */
#define KO_REPORT_ENTRY_LAST_ERROR 8
typedef int32_t(KO_LOG_MODULE_CALL* KoReportLastErrorFunction)(KoLogModule* module,
                                                               KoReportChar* buffer,
                                                               uint32_t capacity);

/*
 * Delivers the record whose id is `id` to `callback` on the calling thread
 * before returning (value1 is 1, value2 the record's category). Answers
 * KO_REPORT_E_NOT_FOUND when the journal holds no record with that id (it
 * was never appended, or has been cleared or pruned). The callback's answer
 * is ignored.
 */
#define KO_REPORT_ENTRY_RECORD 9
typedef int32_t(KO_LOG_MODULE_CALL* KoReportRecordFunction)(KoLogModule* module, int64_t id,
                                                            KoReportCallback callback,
                                                            void* context);

/*
 * Counts the records of all categories in consecutive time ranges: `bounds`
 * holds `count` + 1 ascending UTC-millisecond bounds, and `counts[i]`
 * receives the number of records whose time lies in [bounds[i],
 * bounds[i + 1]). Time-zone agnostic: a caller that counts local days passes
 * the local day starts. Bounds that descend answer KO_REPORT_E_INVALID.
 */
#define KO_REPORT_ENTRY_RECORD_COUNTS 11
typedef int32_t(KO_LOG_MODULE_CALL* KoReportRecordCountsFunction)(KoLogModule* module,
                                                                  const int64_t* bounds,
                                                                  uint32_t count, int64_t* counts);

#define KO_REPORT_TABLE_SIZE 35

/* Results. */
#define KO_REPORT_OK 0
#define KO_REPORT_E_NOT_SERVED (-1)
#define KO_REPORT_E_INVALID (-2)   /* bad arguments or a record that breaks the rules above */
#define KO_REPORT_E_STORAGE (-3)   /* the journal cannot be written (read-only, full, broken) */
#define KO_REPORT_E_NOT_FOUND (-4) /* no record has the id asked for */

/*
 * Stores the object for `id` in `*module`, or null when `id` is not
 * KO_LOG_MODULE_INTERFACE_ID or no object can be made. Answers 0 on success.
 * The journal is the file named by the environment variable
 * KO_REPORT_JOURNAL, else "log/KoReports.db" beside the executable.
 */
KO_LOG_MODULE_EXPORT int32_t CreateDllObject(const KoInterfaceId* id, KoLogModule** module);

/* Stops the object's queries and thread and releases it. Answers 0. */
KO_LOG_MODULE_EXPORT int32_t DestroyDllObject(KoLogModule* module);

#ifdef __cplusplus
}
#endif

#endif
