// The module's object through its table, as a client meets it: the record
// layout that reaches the callback, the entries of the five categories, the
// history newest first and the live records after it, ranged queries, ending
// a query, clearing, counting records in time ranges, and refused appends
// that write nothing. Over each store (under Wine: memory).

#include "LogModule.h"
#include "ReportTime.h"

#include "RecordBuilder.h"
#include "RecordCollector.h"
#include "StoreKinds.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace {

// Recent: the module's thread prunes records older than 180 days.
const std::int64_t kTime = ReportTime::Now() - 3600 * 1000;
// The time of the heartbeat that WaitForEarlierHistories appends.
const std::int64_t kWitnessTime = kTime - 1000;

const std::int32_t kCategories[] = {KO_REPORT_PROGRAM_START, KO_REPORT_EXECUTE_SCAN,
                                    KO_REPORT_RANSOMWARE_FOUND, KO_REPORT_HEARTBEAT,
                                    KO_REPORT_UPDATE_PACKAGE};

class LogModuleTest : public testing::TestWithParam<StoreKind>
{
protected:
    template <typename Function>
    Function Entry(std::size_t index) const
    {
        return reinterpret_cast<Function>(m_object->table[index]);
    }

    std::int32_t Append(const RecordBuilder& record) const
    {
        return Entry<KoReportAppendFunction>(KO_REPORT_ENTRY_APPEND)(m_object, record.get());
    }

    std::int32_t Append(std::int32_t category, std::int64_t time,
                        const std::u16string& tag = u"r") const
    {
        const RecordBuilder record(category, time, RecordBuilder::Fields(category, tag));
        return Append(record);
    }

    std::int32_t Query(std::size_t entry, RecordCollector& collector) const
    {
        return Entry<KoReportQueryFunction>(entry)(m_object, &RecordCollector::Callback,
                                                   &collector);
    }

    std::int32_t QueryCategory(std::int32_t category, RecordCollector& collector) const
    {
        return Entry<KoReportQueryRangeFunction>(KO_REPORT_ENTRY_QUERY_RANGE)(
            m_object, category, INT64_MIN, INT64_MAX, &RecordCollector::Callback, &collector);
    }

    std::int32_t Stop(RecordCollector& collector) const
    {
        return Entry<KoReportStopFunction>(KO_REPORT_ENTRY_STOP_QUERY)(m_object, &collector);
    }

    std::int32_t FetchRecord(std::int64_t id, RecordCollector& collector) const
    {
        return Entry<KoReportRecordFunction>(KO_REPORT_ENTRY_RECORD)(
            m_object, id, &RecordCollector::Callback, &collector);
    }

    std::string LastError() const
    {
        KoReportChar text[512];
        Entry<KoReportLastErrorFunction>(KO_REPORT_ENTRY_LAST_ERROR)(m_object, text, 512);
        std::string ascii;
        for (const KoReportChar* unit = text; *unit != 0; ++unit) {
            ascii += static_cast<char>(*unit);
        }
        return ascii;
    }

    // Waits until every query made so far has had its history: queries take
    // turns, so a later query's history comes after theirs.
    void WaitForEarlierHistories() const
    {
        ASSERT_EQ(Append(KO_REPORT_HEARTBEAT, kWitnessTime), KO_REPORT_OK);
        RecordCollector witness;
        ASSERT_EQ(Entry<KoReportQueryRangeFunction>(KO_REPORT_ENTRY_QUERY_RANGE)(
                      m_object, KO_REPORT_HEARTBEAT, kWitnessTime, kWitnessTime,
                      &RecordCollector::Callback, &witness),
                  KO_REPORT_OK);
        ASSERT_EQ(witness.WaitFor(1).size(), 1u);
        Stop(witness);
    }

    TemporaryDirectory m_directory;
    LogModule m_module{GetParam().make(m_directory)};
    KoLogModule* const m_object = &m_module;
};

} // namespace

TEST_P(LogModuleTest, RecordsComeBackWithTheirFieldsNewestFirstFromTheModulesThread)
{
    const std::u16string description = u"\u542F\u52A8 \U0001F600";
    for (int i = 0; i < 3; ++i) {
        std::vector<std::u16string> fields = RecordBuilder::Fields(KO_REPORT_PROGRAM_START, u"f");
        fields[KO_REPORT_FIELD_DESCRIPTION] = description + std::u16string(1, u'0' + i);
        ASSERT_EQ(Append(RecordBuilder(KO_REPORT_PROGRAM_START, kTime + i, fields)), KO_REPORT_OK);
    }
    RecordCollector collector;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_PROGRAM_START_RECORDS, collector), KO_REPORT_OK);
    const auto records = collector.WaitFor(3);
    ASSERT_EQ(records.size(), 3u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& record = records[i];
        EXPECT_EQ(record.size, sizeof(KoReportRecord));
        EXPECT_EQ(record.category, KO_REPORT_PROGRAM_START);
        EXPECT_EQ(record.time, kTime + 2 - static_cast<std::int64_t>(i));
        EXPECT_EQ(record.flags, 0u);
        EXPECT_EQ(record.value1, i + 1) << "position in the delivery";
        EXPECT_EQ(record.value2, static_cast<std::uint32_t>(KO_REPORT_PROGRAM_START));
        EXPECT_NE(record.thread, std::this_thread::get_id());
        ASSERT_EQ(record.fields.size(), std::size_t{KO_REPORT_PROGRAM_START_FIELDS});
        EXPECT_EQ(record.fields[KO_REPORT_FIELD_DESCRIPTION],
                  description + std::u16string(1, u'2' - static_cast<char16_t>(i)));
        EXPECT_EQ(record.fields[KO_REPORT_FIELD_OPTICAL_DRIVE], u"f 6");
    }
    EXPECT_GT(records[0].id, records[1].id);
}

TEST_P(LogModuleTest, EachQueryEntryDeliversItsOwnCategory)
{
    for (const std::int32_t category : kCategories) {
        ASSERT_EQ(Append(category, kTime), KO_REPORT_OK) << LastError();
    }
    const struct
    {
        std::size_t entry;
        std::int32_t category;
    } entries[] = {{KO_REPORT_ENTRY_PROGRAM_START_RECORDS, KO_REPORT_PROGRAM_START},
                   {KO_REPORT_ENTRY_HEARTBEAT_RECORDS, KO_REPORT_HEARTBEAT},
                   {KO_REPORT_ENTRY_RANSOMWARE_RECORDS, KO_REPORT_RANSOMWARE_FOUND},
                   {KO_REPORT_ENTRY_SCAN_RECORDS, KO_REPORT_EXECUTE_SCAN},
                   {KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS, KO_REPORT_UPDATE_PACKAGE}};
    std::vector<std::unique_ptr<RecordCollector>> collectors;
    for (const auto& entry : entries) {
        collectors.push_back(std::make_unique<RecordCollector>());
        ASSERT_EQ(Query(entry.entry, *collectors.back()), KO_REPORT_OK);
    }
    WaitForEarlierHistories();
    for (std::size_t i = 0; i < collectors.size(); ++i) {
        auto records = collectors[i]->Records();
        // Not the witness's heartbeat.
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [](const auto& r) { return r.time != kTime; }),
                      records.end());
        ASSERT_EQ(records.size(), 1u) << entries[i].entry;
        EXPECT_EQ(records[0].category, entries[i].category);
        EXPECT_EQ(records[0].fields.size(), RecordBuilder::FieldCount(entries[i].category));
        Stop(*collectors[i]);
    }
}

TEST_P(LogModuleTest, EntriesWithoutAServiceAnswerNotServed)
{
    const std::size_t served[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 34};
    RecordCollector collector;
    for (std::size_t index = 0; index < KO_REPORT_TABLE_SIZE; ++index) {
        if (std::find(std::begin(served), std::end(served), index) == std::end(served)) {
            EXPECT_EQ(Query(index, collector), KO_REPORT_E_NOT_SERVED) << index;
        }
    }
}

TEST_P(LogModuleTest, ARecordIsDeliveredByItsIdOnTheCallersThread)
{
    for (const std::int32_t category : kCategories) {
        ASSERT_EQ(Append(category, kTime, u"by id"), KO_REPORT_OK);
    }
    std::vector<RecordCollector::Received> stored;
    for (const std::int32_t category : kCategories) {
        RecordCollector history;
        ASSERT_EQ(QueryCategory(category, history), KO_REPORT_OK);
        const auto records = history.WaitFor(1);
        ASSERT_EQ(records.size(), 1u) << category;
        Stop(history);
        stored.push_back(records[0]);
    }
    for (const RecordCollector::Received& expected : stored) {
        SCOPED_TRACE(expected.category);
        RecordCollector collector;
        ASSERT_EQ(FetchRecord(expected.id, collector), KO_REPORT_OK);
        const auto records = collector.Records();
        ASSERT_EQ(records.size(), 1u) << "delivered before the entry returns";
        EXPECT_EQ(records[0].size, sizeof(KoReportRecord));
        EXPECT_EQ(records[0].id, expected.id);
        EXPECT_EQ(records[0].category, expected.category);
        EXPECT_EQ(records[0].time, kTime);
        EXPECT_EQ(records[0].flags, 0u);
        EXPECT_EQ(records[0].fields, RecordBuilder::Fields(expected.category, u"by id"));
        EXPECT_EQ(records[0].value1, 1u);
        EXPECT_EQ(records[0].value2, static_cast<std::uint32_t>(expected.category));
        EXPECT_EQ(records[0].thread, std::this_thread::get_id());
    }
}

TEST_P(LogModuleTest, AnUnknownOrClearedIdIsNotFound)
{
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime), KO_REPORT_OK);
    RecordCollector history;
    ASSERT_EQ(QueryCategory(KO_REPORT_EXECUTE_SCAN, history), KO_REPORT_OK);
    const auto records = history.WaitFor(1);
    ASSERT_EQ(records.size(), 1u);
    Stop(history);
    const std::int64_t id = records[0].id;

    RecordCollector collector;
    for (const std::int64_t unknown : {std::int64_t{0}, std::int64_t{-5}, id + 1, INT64_MAX}) {
        EXPECT_EQ(FetchRecord(unknown, collector), KO_REPORT_E_NOT_FOUND) << unknown;
        EXPECT_EQ(LastError(), "no record has the id " + std::to_string(unknown));
    }
    ASSERT_EQ(Entry<KoReportClearFunction>(KO_REPORT_ENTRY_CLEAR)(m_object, KO_REPORT_EXECUTE_SCAN),
              KO_REPORT_OK);
    EXPECT_EQ(FetchRecord(id, collector), KO_REPORT_E_NOT_FOUND) << "cleared";
    EXPECT_TRUE(collector.Records().empty());
    EXPECT_EQ(Entry<KoReportRecordFunction>(KO_REPORT_ENTRY_RECORD)(m_object, id, nullptr, nullptr),
              KO_REPORT_E_INVALID);
    EXPECT_EQ(Entry<KoReportRecordFunction>(KO_REPORT_ENTRY_RECORD)(
                  nullptr, id, &RecordCollector::Callback, &collector),
              KO_REPORT_E_INVALID);
}

TEST_P(LogModuleTest, LaterRecordsFollowLiveInAppendOrder)
{
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime, u"stored"), KO_REPORT_OK);
    RecordCollector collector;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_SCAN_RECORDS, collector), KO_REPORT_OK);
    ASSERT_EQ(collector.WaitFor(1).size(), 1u);

    ASSERT_EQ(Append(KO_REPORT_UPDATE_PACKAGE, kTime + 5), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime - 10, u"later1"), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime + 10, u"later2"), KO_REPORT_OK);
    const auto records = collector.WaitFor(3);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].flags, 0u);
    EXPECT_EQ(records[1].flags, KO_REPORT_FLAG_LIVE);
    EXPECT_EQ(records[1].fields[0], u"later1 0");
    EXPECT_EQ(records[1].value1, 2u) << "positions count on";
    EXPECT_EQ(records[2].fields[0], u"later2 0");
    EXPECT_EQ(records[2].value1, 3u);
    Stop(collector);
}

TEST_P(LogModuleTest, ARangedQueryDeliversOnlyItsRange)
{
    for (std::int64_t t = 1; t <= 6; ++t) {
        ASSERT_EQ(Append(KO_REPORT_RANSOMWARE_FOUND, kTime + t), KO_REPORT_OK);
    }
    RecordCollector collector;
    ASSERT_EQ(Entry<KoReportQueryRangeFunction>(KO_REPORT_ENTRY_QUERY_RANGE)(
                  m_object, KO_REPORT_RANSOMWARE_FOUND, kTime + 2, kTime + 4,
                  &RecordCollector::Callback, &collector),
              KO_REPORT_OK);
    ASSERT_EQ(collector.WaitFor(3).size(), 3u);
    ASSERT_EQ(Append(KO_REPORT_RANSOMWARE_FOUND, kTime + 9), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_RANSOMWARE_FOUND, kTime + 3), KO_REPORT_OK);
    const auto records = collector.WaitFor(4);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].time, kTime + 4);
    EXPECT_EQ(records[2].time, kTime + 2);
    EXPECT_EQ(records[3].time, kTime + 3) << "the live record in the range";
    Stop(collector);
    EXPECT_EQ(collector.Records().size(), 4u) << "the one outside never came";
}

TEST_P(LogModuleTest, ACallbackThatAnswersNonZeroEndsItsQuery)
{
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Append(KO_REPORT_HEARTBEAT, kTime + i), KO_REPORT_OK);
    }
    RecordCollector ending(1);
    ASSERT_EQ(Query(KO_REPORT_ENTRY_HEARTBEAT_RECORDS, ending), KO_REPORT_OK);
    RecordCollector going;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_HEARTBEAT_RECORDS, going), KO_REPORT_OK);
    ASSERT_EQ(going.WaitFor(3).size(), 3u);
    ASSERT_EQ(Append(KO_REPORT_HEARTBEAT, kTime + 9), KO_REPORT_OK);
    ASSERT_EQ(going.WaitFor(4).size(), 4u) << "the live record reached the other query";
    EXPECT_EQ(ending.Records().size(), 1u);
    Stop(going);
}

TEST_P(LogModuleTest, AStoppedQueryReceivesNothingMore)
{
    RecordCollector stopped;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS, stopped), KO_REPORT_OK);
    RecordCollector going;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS, going), KO_REPORT_OK);
    ASSERT_EQ(Stop(stopped), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_UPDATE_PACKAGE, kTime), KO_REPORT_OK);
    ASSERT_EQ(going.WaitFor(1).size(), 1u);
    EXPECT_TRUE(stopped.Records().empty());
    Stop(going);
}

TEST_P(LogModuleTest, StopWaitsForARunningCallback)
{
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime), KO_REPORT_OK);
    std::promise<void> entered;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    struct Blocking
    {
        std::promise<void>* entered;
        std::shared_future<void> released;
        static std::int32_t Callback(void* context, const void*, std::uint32_t, std::uint32_t)
        {
            auto* self = static_cast<Blocking*>(context);
            self->entered->set_value();
            self->released.wait();
            return 0;
        }
    } blocking{&entered, released};
    ASSERT_EQ(Entry<KoReportQueryFunction>(KO_REPORT_ENTRY_SCAN_RECORDS)(
                  m_object, &Blocking::Callback, &blocking),
              KO_REPORT_OK);
    entered.get_future().wait();
    std::future<std::int32_t> stop = std::async(std::launch::async, [&] {
        return Entry<KoReportStopFunction>(KO_REPORT_ENTRY_STOP_QUERY)(m_object, &blocking);
    });
    EXPECT_EQ(stop.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
        << "Stop returned while the callback ran";
    release.set_value();
    EXPECT_EQ(stop.get(), KO_REPORT_OK);
}

TEST_P(LogModuleTest, ClearingDeletesTheCategorysRecords)
{
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, kTime), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_UPDATE_PACKAGE, kTime), KO_REPORT_OK);
    const auto clear = Entry<KoReportClearFunction>(KO_REPORT_ENTRY_CLEAR);
    ASSERT_EQ(clear(m_object, KO_REPORT_EXECUTE_SCAN), KO_REPORT_OK);
    EXPECT_EQ(clear(m_object, 42), KO_REPORT_E_INVALID);
    EXPECT_EQ(LastError(), "unknown category 42");
    RecordCollector scans;
    RecordCollector updates;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_SCAN_RECORDS, scans), KO_REPORT_OK);
    ASSERT_EQ(Query(KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS, updates), KO_REPORT_OK);
    WaitForEarlierHistories();
    EXPECT_TRUE(scans.Records().empty());
    EXPECT_EQ(updates.Records().size(), 1u);
    Stop(scans);
    Stop(updates);
}

TEST_P(LogModuleTest, RefusedAppendsSayWhyAndWriteNothing)
{
    RecordBuilder good(KO_REPORT_UPDATE_PACKAGE, kTime, {u"1.0", u""});
    RecordBuilder unknown(7, kTime, {});
    RecordBuilder missing(KO_REPORT_UPDATE_PACKAGE, kTime, {u"", u"notes"});
    RecordBuilder oversized(KO_REPORT_UPDATE_PACKAGE, kTime, {u"1.0", std::u16string(65537, u'x')});
    RecordBuilder surrogate(KO_REPORT_UPDATE_PACKAGE, kTime, {u"1.0", u"\xDC00"});
    const struct
    {
        const KoReportRecord* record;
        const char* error;
    } cases[] = {
        {nullptr, "no record"},
        {unknown.get(), "unknown category 7"},
        {missing.get(), "update_package records need the field version"},
        {oversized.get(), "the field notes has 65537 bytes, more than 65536"},
        {surrogate.get(), "a text holds a lone low surrogate"},
    };
    const auto batch = Entry<KoReportAppendBatchFunction>(KO_REPORT_ENTRY_APPEND_BATCH);
    for (const auto& c : cases) {
        const KoReportRecord* const records[] = {good.get(), c.record};
        EXPECT_EQ(batch(m_object, records, 2), KO_REPORT_E_INVALID) << c.error;
        EXPECT_EQ(LastError(), c.error);
    }
    EXPECT_EQ(batch(m_object, nullptr, 1), KO_REPORT_E_INVALID);
    RecordCollector updates;
    ASSERT_EQ(Query(KO_REPORT_ENTRY_UPDATE_PACKAGE_RECORDS, updates), KO_REPORT_OK);
    WaitForEarlierHistories();
    EXPECT_TRUE(updates.Records().empty()) << "no batch wrote its good record";
    Stop(updates);
    EXPECT_EQ(Append(good), KO_REPORT_OK);
    EXPECT_EQ(LastError(), "") << "a success clears the last error";
}

TEST_P(LogModuleTest, RecordCountsCountEveryCategoryInEachRange)
{
    constexpr std::int64_t kHour = 3600 * 1000;
    const std::int64_t start = kTime - 3 * kHour;
    for (const std::int32_t category : kCategories) {
        ASSERT_EQ(Append(category, start), KO_REPORT_OK) << LastError();
    }
    ASSERT_EQ(Append(KO_REPORT_HEARTBEAT, start + kHour - 1), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, start + 2 * kHour), KO_REPORT_OK);
    ASSERT_EQ(Append(KO_REPORT_EXECUTE_SCAN, start + 3 * kHour), KO_REPORT_OK);
    const auto counts = Entry<KoReportRecordCountsFunction>(KO_REPORT_ENTRY_RECORD_COUNTS);

    const std::int64_t bounds[] = {start, start + kHour, start + 2 * kHour, start + 2 * kHour,
                                   start + 3 * kHour};
    std::int64_t counted[4] = {-1, -1, -1, -1};
    ASSERT_EQ(counts(m_object, bounds, 4, counted), KO_REPORT_OK) << LastError();
    EXPECT_EQ(std::vector<std::int64_t>(counted, counted + 4),
              (std::vector<std::int64_t>{6, 0, 0, 1}))
        << "each range from its start up to its end; an empty range counts nothing";

    EXPECT_EQ(counts(m_object, nullptr, 0, nullptr), KO_REPORT_OK) << "no range, nothing to count";
    const std::int64_t descending[] = {start + kHour, start};
    std::int64_t untouched = -1;
    EXPECT_EQ(counts(m_object, descending, 1, &untouched), KO_REPORT_E_INVALID);
    EXPECT_EQ(LastError(), "the bounds descend");
    EXPECT_EQ(untouched, -1);
    EXPECT_EQ(counts(m_object, nullptr, 1, &untouched), KO_REPORT_E_INVALID);
    EXPECT_EQ(counts(m_object, bounds, 1, nullptr), KO_REPORT_E_INVALID);
    EXPECT_EQ(counts(nullptr, bounds, 1, counted), KO_REPORT_E_INVALID);
}

TEST_P(LogModuleTest, TheLastErrorIsCutToTheBuffer)
{
    ASSERT_EQ(Entry<KoReportClearFunction>(KO_REPORT_ENTRY_CLEAR)(m_object, 42),
              KO_REPORT_E_INVALID);
    const auto lastError = Entry<KoReportLastErrorFunction>(KO_REPORT_ENTRY_LAST_ERROR);
    KoReportChar text[5] = {1, 1, 1, 1, 1};
    EXPECT_EQ(lastError(m_object, text, 5), 19); // "unknown category 42"
    EXPECT_EQ(RecordBuilder::Text(text), u"unkn");
    EXPECT_EQ(lastError(m_object, nullptr, 0), 19);
}

TEST_P(LogModuleTest, QueriesNeedAKnownCategoryAndACallback)
{
    RecordCollector collector;
    const auto range = Entry<KoReportQueryRangeFunction>(KO_REPORT_ENTRY_QUERY_RANGE);
    EXPECT_EQ(range(m_object, 100216, 0, 1, &RecordCollector::Callback, &collector),
              KO_REPORT_E_INVALID);
    EXPECT_EQ(range(m_object, KO_REPORT_HEARTBEAT, 0, 1, nullptr, &collector), KO_REPORT_E_INVALID);
    EXPECT_EQ(Entry<KoReportQueryFunction>(KO_REPORT_ENTRY_SCAN_RECORDS)(nullptr, nullptr, nullptr),
              KO_REPORT_E_INVALID);
}

TEST(LogModuleLifetimeTest, TheObjectGoesAwayWhileItDelivers)
{
    const auto store = std::make_shared<MemoryStore>();
    std::vector<Report> reports(2000);
    for (Report& report : reports) {
        report.category = KO_REPORT_HEARTBEAT;
        report.time = kTime;
    }
    store->Append(reports);
    RecordCollector collector;
    auto module = std::make_unique<LogModule>(store);
    ASSERT_EQ(
        reinterpret_cast<KoReportQueryFunction>(module->table[KO_REPORT_ENTRY_HEARTBEAT_RECORDS])(
            module.get(), &RecordCollector::Callback, &collector),
        KO_REPORT_OK);
    collector.WaitFor(1);
    module.reset();
    const std::size_t delivered = collector.Records().size();
    EXPECT_GE(delivered, 1u);
    EXPECT_LE(delivered, reports.size());
}

INSTANTIATE_TEST_SUITE_P(Stores, LogModuleTest, testing::ValuesIn(StoreKinds()), StoreKindName);
