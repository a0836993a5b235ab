// The log writers against their references, measured in the same run:
// - the synchronous writer against its floor, the same design done with the
//   OS calls directly (open for append, write the line's bytes, close);
// - the asynchronous writer (log sites with asynchronous logging on) against
//   an asynchronous file logger of a widely used logging library writing lines
//   of the same length, from one and from four producer threads. One
//   iteration logs every line and then waits until all of them are written.
#include "base/File.h"
#include "base/FilePath.h"
#include "base/LocalTime.h"
#include "base/Log.h"
#include "base/LogAsync.h"
#include "base/Logging.h"
#include "base/StringConversion.h"

#include <benchmark/benchmark.h>
#include <spdlog/async.h>
#include <spdlog/async_logger.h>
#include <spdlog/sinks/basic_file_sink.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <thread>
#include <vector>

namespace {

constexpr char kMessage[] = "get data of the program diary for the benchmark";
constexpr int kLinesPerProducer = 50000;

// A scratch directory for one benchmark, removed afterwards.
class ScratchDirectory
{
public:
    explicit ScratchDirectory(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("ko-bench-" + std::to_string(getpid()) + "-" + name))
    {
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDirectory() { std::filesystem::remove_all(m_path); }

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void ConfigureSynchronousLog(const std::filesystem::path& prefix)
{
    KO::Log::SetPath(prefix.wstring());
    KO::Log::SetEncoding(KO::ENCODING_UTF8);
    KO::Log::SetMaxFileSize(0xFFFFFFFFu);
    KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
}

template <typename LogOneLine>
void RunProducers(int producers, LogOneLine logOneLine)
{
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&] {
            for (int i = 0; i < kLinesPerProducer; ++i) {
                logOneLine();
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
}

} // namespace

static void BM_SyncWriteOutLog(benchmark::State& state)
{
    const ScratchDirectory directory("sync");
    ConfigureSynchronousLog(directory / "sync");
    const std::wstring text = KO::String::ToWide(kMessage);
    for (auto _ : state) {
        KO::Log::WriteOutLog(text.c_str());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncWriteOutLog);

static void BM_SyncFloorOpenWriteClose(benchmark::State& state)
{
    const ScratchDirectory directory("floor");
    const std::string path = (directory / "floor.out").string();
    const std::string line =
        KO::String::ToNarrow(KO::Log::OutputPrefix(KO::LocalTime::Now())) + kMessage + "\r\n";
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
        benchmark::DoNotOptimize(write(fd, line.data(), line.size()));
        close(fd);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SyncFloorOpenWriteClose);

static void BM_AsyncLogSites(benchmark::State& state)
{
    const ScratchDirectory directory("async");
    KO::File target(KO::FilePath((directory / "async.log").wstring().c_str()));
    KO::LogAsync::SetTargetFile(&target);
    KO::SetLogLevel(KO::LOG_LEVEL_TRACE);
    KO::SetAsyncLog(true);
    const int producers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RunProducers(producers, [] { LOG_TRACE << kMessage; });
        KO::LogAsync::Release(); // flushes, writes everything and stops the writer
    }
    KO::SetAsyncLog(false);
    KO::LogAsync::SetTargetFile(nullptr);
    state.SetItemsProcessed(state.iterations() * producers * kLinesPerProducer);
}
BENCHMARK(BM_AsyncLogSites)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_AsyncReferenceLogger(benchmark::State& state)
{
    const ScratchDirectory directory("reference");
    const int producers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto pool = std::make_shared<spdlog::details::thread_pool>(8192, 1);
        auto sink =
            std::make_shared<spdlog::sinks::basic_file_sink_mt>((directory / "ref.log").string());
        auto logger = std::make_shared<spdlog::async_logger>("reference", sink, pool,
                                                             spdlog::async_overflow_policy::block);
        // Same line shape: time, process and thread, level, source, text.
        logger->set_pattern("[%Y-%m-%d %H:%M:%S.%e][%P:%t][%l] <LogBench.cpp> "
                            "<CProgramDiaryDialog::loadData> <line:42> %v");
        RunProducers(producers, [&] { logger->info(kMessage); });
        logger.reset();
        pool.reset(); // joins after the queue is written
    }
    state.SetItemsProcessed(state.iterations() * producers * kLinesPerProducer);
}
BENCHMARK(BM_AsyncReferenceLogger)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();
