// Cost of appending one log line to a file that no one keeps open:
// KO::File::AppendLines (existence check, open, encode, write, close) against
// a raw open, write and close of the same bytes, the floor for such a writer.
#include "base/File.h"
#include "base/StringConversion.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

const std::wstring kLine = L"2024-05-01 10:20:30.456 [1234:5678] [3] <Widget.cpp> "
                           L"<AntivirusMonitorWidget::initUi> <line:120> view by time shown";

// A file name of its own in the temporary directory, removed afterwards.
class BenchFile
{
public:
    BenchFile()
        : m_path(std::filesystem::temp_directory_path() /
                 ("ko-bench-" + std::to_string(std::random_device()()) + ".log"))
    {}
    ~BenchFile() { std::filesystem::remove(m_path); }
    BenchFile(const BenchFile&) = delete;
    BenchFile& operator=(const BenchFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace

static void BM_KoAppendLines(benchmark::State& state)
{
    const BenchFile target;
    const KO::File file(KO::FilePath(target.Path().wstring().c_str()));
    const std::vector<std::wstring> lines = {kLine};
    file.WriteLines({}, true, KO::ENCODING_UTF8);
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.AppendLines(lines, true, KO::ENCODING_UTF8));
    }
}
BENCHMARK(BM_KoAppendLines);

static void BM_RawOpenWriteClose(benchmark::State& state)
{
    const BenchFile target;
    const std::string bytes = KO::String::ToNarrow(kLine + L"\r\n");
    const std::string path = target.Path().string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "ab");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}
BENCHMARK(BM_RawOpenWriteClose);
