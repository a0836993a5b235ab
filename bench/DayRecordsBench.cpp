// The view by time's GUI-thread side of a busy day: 10,000 records of the
// five categories (a heartbeat every 30 s, ten program starts, the rest
// scans, updates and ransomware reports) added as the view adds them, each
// category's history newest first in batches of 2,000 (one per turn of the
// event loop): DayRecordList::add and the list's setRecords per batch. Then
// one live record into that full day, with the list scrolled away from the
// top. The time per batch and per live record is what the event loop waits.

#include "base_ui/tools/CKoStringPool.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"
#include "monitor/widget/controlbyclass/DayRecordFeed.h"
#include "monitor/widget/controlbyclass/DayRecordList.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr std::int64_t kDayStart = 1'800'000'000'000;
constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;
constexpr int kRecords = 10000;
constexpr int kHeartbeats = 2880;
constexpr int kStarts = 10;

DiaryRecord Record(std::int32_t category, std::int64_t time, std::int64_t id)
{
    DiaryRecord record;
    record.category = category;
    record.time = time;
    record.id = id;
    if (category == RecordCategory::kProgramStart) {
        record.fields.assign(17, "endpoint");
    } else if (category != RecordCategory::kHeartbeat) {
        record.fields = {"快速扫描", "扫描文件 11407 个，未发现威胁"};
    }
    return record;
}

// The day's records as the module delivers them: category after category,
// each newest first, cut into batches of the view's size.
std::vector<std::vector<DiaryRecord>> Batches()
{
    std::vector<std::vector<DiaryRecord>> byCategory(RecordCategory::kCount);
    std::int64_t id = 0;
    const int others = (kRecords - kHeartbeats - kStarts) / 3;
    const auto spread = [&](std::size_t slot, std::int32_t category, int count) {
        for (int i = count; i-- > 0;) {
            byCategory[slot].push_back(Record(category, kDayStart + kDayMs * i / count, ++id));
        }
    };
    spread(0, RecordCategory::kProgramStart, kStarts);
    spread(1, RecordCategory::kExecuteScan, others);
    spread(2, RecordCategory::kRansomwareFound, others);
    spread(3, RecordCategory::kHeartbeat, kHeartbeats);
    spread(4, RecordCategory::kUpdatePackage, kRecords - kHeartbeats - kStarts - 2 * others);
    std::vector<std::vector<DiaryRecord>> batches(1);
    for (const auto& records : byCategory) {
        for (const DiaryRecord& record : records) {
            if (batches.back().size() == DayRecordFeed::kRecordsPerTurn) {
                batches.emplace_back();
            }
            batches.back().push_back(record);
        }
    }
    return batches;
}

void BM_DayHistoryInBatches(benchmark::State& state)
{
    const auto batches = Batches();
    for (auto _ : state) {
        DayRecordList day;
        day.reset(kDayStart, kDayStart + kDayMs);
        CProgramDiaryListWidget list;
        for (const auto& batch : batches) {
            day.add(batch);
            list.setRecords(day.rows());
        }
        benchmark::DoNotOptimize(list.records().size());
    }
    state.counters["batches"] = static_cast<double>(batches.size());
    state.counters["per_batch"] = benchmark::Counter(static_cast<double>(batches.size()),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_DayHistoryInBatches)->Unit(benchmark::kMillisecond);

void BM_LiveRecordIntoAFullDay(benchmark::State& state)
{
    DayRecordList day;
    day.reset(kDayStart, kDayStart + kDayMs);
    CProgramDiaryListWidget list;
    for (const auto& batch : Batches()) {
        day.add(batch);
    }
    list.setRecords(day.rows());
    list.selectRecord(5000);
    std::int64_t id = kRecords;
    for (auto _ : state) {
        ++id;
        day.add({Record(RecordCategory::kExecuteScan, kDayStart + kDayMs - 1 - id, id)});
        list.setRecords(day.rows());
    }
    benchmark::DoNotOptimize(list.firstRecord());
}
BENCHMARK(BM_LiveRecordIntoAFullDay)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The rows' texts.
    if (CKoStringPool::LoadXml(":/xml/AMtext.xml") != 0) {
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
