#pragma once

#include "base/Mutex.h"
#include "base/NotCopyable.h"
#include "base/Object.h"
#include "base/Semaphore.h"
#include "base/Thread.h"

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

namespace KO {

class File;

// The asynchronous log writer: finished texts are appended to a memory
// buffer of 400000 characters; a full buffer (or Flush) is queued for the
// writer thread, which writes it to the target file when one is set and
// otherwise to the output file of Log, without a prefix.
//
// Thread-safe. The instance is shared: Release drops the process's
// reference, and the last holder's release flushes, stops and joins the
// writer thread, so every text written before is delivered. A Write after
// Release creates the next instance; its writer starts writing only when the
// previous writer has ended, so one writer at a time appends to the files
// and texts keep their order across a Release. Holding an instance from
// GetInstance across a Release therefore holds up the later writers.
class LogAsync : public Object, private NotCopyable
{
public:
    static constexpr std::size_t kBufferCapacity = 400000;

    ~LogAsync() override;

    // The instance, created on first use; null (and reported on standard
    // error) when it cannot be created.
    static std::shared_ptr<LogAsync> GetInstance();

    // Appends a finished text, line end included.
    static void Write(std::wstring_view text);
    // Hands the current buffer to the writer thread.
    static void Flush();
    // Drops the instance; the next Write creates a new one.
    static void Release();

    // The file that receives the buffers instead of the output file of Log;
    // not owned, null for none. Written as UTF-16LE with a byte-order mark.
    static void SetTargetFile(File* file);
    static File* GetTargetFile();

private:
    using Buffer = std::unique_ptr<std::wstring>;

    LogAsync();

    static std::uint32_t Run(void* self);
    void WaitForPreviousWriter() noexcept;
    static Buffer NewBuffer();

    void Append(std::wstring_view text);
    void QueueCurrentBuffer();
    void WriteQueuedBuffers() noexcept;
    // Moves the front of the queue into buffer; false when the queue is empty.
    bool TakeQueuedBuffer(Buffer& buffer);

    Thread m_thread;
    Mutex m_lock;
    Semaphore m_wakeUp;
    Buffer m_current;          // guarded by m_lock
    Buffer m_spare;            // guarded by m_lock
    std::deque<Buffer> m_full; // guarded by m_lock
    std::atomic<bool> m_running{true};
    // Counted once when the writer of the previous instance has ended; null
    // for the first instance. Each is waited on by the next writer alone.
    std::shared_ptr<Semaphore> m_previousWriterEnd;
    std::shared_ptr<Semaphore> m_writerEnd;
};

} // namespace KO
