#include "base/Process.h"

#include <atomic>
#include <pthread.h>
#include <unistd.h>

namespace KO {

namespace {

// The ids are asked for on every log line; each query is a system call, so a
// thread keeps them. A fork gives the child new ids: the generation changes
// and every thread of the child asks again.
std::atomic<unsigned> g_generation{1};

void OnFork()
{
    g_generation.fetch_add(1, std::memory_order_relaxed);
}

struct Ids
{
    unsigned generation = 0;
    std::uint32_t process = 0;
    std::uint32_t thread = 0;
};

const Ids& CurrentIds()
{
    static const int registered = pthread_atfork(nullptr, nullptr, OnFork);
    static_cast<void>(registered);
    thread_local Ids ids;
    const unsigned generation = g_generation.load(std::memory_order_relaxed);
    if (ids.generation != generation) {
        // The kernel's thread id: small, unique in the system, as tools show it.
        ids = {generation, static_cast<std::uint32_t>(getpid()),
               static_cast<std::uint32_t>(gettid())};
    }
    return ids;
}

} // namespace

// static
std::uint32_t Process::CurrentId()
{
    return CurrentIds().process;
}

// static
std::uint32_t Process::CurrentThreadId()
{
    return CurrentIds().thread;
}

} // namespace KO
