#pragma once

// What the pipe and process tests share: names no other test or run uses, and
// the error numbers each backend reports.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <unistd.h>
#endif

namespace KoTest {

#ifdef _WIN32
inline std::uint32_t CurrentProcessId()
{
    return GetCurrentProcessId();
}
constexpr std::int32_t kFileNotFound = ERROR_FILE_NOT_FOUND;
constexpr std::int32_t kNameTaken = ERROR_ACCESS_DENIED;
constexpr std::int32_t kBrokenPipe = ERROR_BROKEN_PIPE;
constexpr std::int32_t kUnreadDataLost = ERROR_BROKEN_PIPE;
// A Windows pipe forgets the bytes its peer left unread when the peer closes:
// only a flush already waiting then learns of the loss.
constexpr bool kFlushSeesDroppedData = false;
constexpr const wchar_t* kExecutableSuffix = L".exe";
#else
inline std::uint32_t CurrentProcessId()
{
    return static_cast<std::uint32_t>(getpid());
}
constexpr std::int32_t kFileNotFound = ENOENT;
constexpr std::int32_t kNameTaken = EADDRINUSE;
constexpr std::int32_t kBrokenPipe = EPIPE;
constexpr std::int32_t kUnreadDataLost = ECONNRESET;
// A socket whose peer closed with bytes unread keeps the reset pending.
constexpr bool kFlushSeesDroppedData = true;
constexpr const wchar_t* kExecutableSuffix = L"";
#endif

// "ko-test-<tag>-<process id>-<counter>": unique within the run, and across
// runs that overlap.
inline std::wstring UniqueName(const wchar_t* tag)
{
    static std::atomic<int> counter{0};
    return L"ko-test-" + std::wstring(tag) + L"-" + std::to_wstring(CurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

// Polls the condition until it holds; false once ten seconds have passed.
template <typename Condition>
bool Eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace KoTest
