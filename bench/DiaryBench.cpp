// The diary's GUI-thread side of the log module's records: 100,000 records
// of the scan category added to the diary's table as the dialog adds them
// (DiaryRows::add, one appendRows per batch), in one batch and in batches of
// 10,000 and 2,000 (one per turn of the event loop), each batch a sorted merge into the
// records already shown. The time per batch is what the event loop waits.

#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRecord.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;

// Records newest first, a second apart, as the module delivers its history.
std::vector<std::vector<DiaryRecord>> Batches(int batchSize)
{
    std::vector<std::vector<DiaryRecord>> batches;
    const std::int64_t newest = 1'800'000'000'000;
    for (int i = 0; i < kRecords; ++i) {
        if (i % batchSize == 0) {
            batches.emplace_back();
        }
        batches.back().push_back(
            {newest - std::int64_t{i} * 1000, {"快速扫描", "扫描结果 " + std::to_string(i)}});
    }
    return batches;
}

void BM_DiaryRecordsInBatches(benchmark::State& state)
{
    const auto batches = Batches(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CTableWidget table(458, 229, 5, 4);
        table.setSorted(true);
        DiaryRows rows(RecordCategory::kExecuteScan);
        for (const auto& batch : batches) {
            rows.add(batch, table);
        }
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.counters["batches"] = static_cast<double>(batches.size());
    // Seconds per batch: the longest the event loop waits for one turn.
    state.counters["per_batch"] = benchmark::Counter(static_cast<double>(batches.size()),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_DiaryRecordsInBatches)
    ->Arg(kRecords)
    ->Arg(10000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
