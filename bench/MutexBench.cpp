// Cost of an uncontended lock and unlock: the KO mutex against the standard
// recursive mutex, which is the floor for a recursive lock on this platform.
#include "base/Mutex.h"
#include "base/ScopedLock.h"

#include <benchmark/benchmark.h>

#include <mutex>

static void BM_KoScopedLock(benchmark::State& state)
{
    KO::Mutex mutex;
    for (auto _ : state) {
        KO::ScopedLock lock(mutex);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KoScopedLock);

static void BM_StdRecursiveMutex(benchmark::State& state)
{
    std::recursive_mutex mutex;
    for (auto _ : state) {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StdRecursiveMutex);
