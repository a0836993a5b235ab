#include "base/LogAsync.h"

#include "base/Console.h"
#include "base/Error.h"
#include "base/File.h"
#include "base/Log.h"
#include "base/ScopedLock.h"
#include "base/SystemException.h"

#include <exception>
#include <vector>

namespace KO {

namespace {

constexpr bool kTargetWriteBom = true;
constexpr ENUM_ENCODING kTargetEncoding = ENCODING_UTF16LE;

std::atomic<File*> g_targetFile{nullptr};

// Both deliberately never destroyed: log sites may run during static
// destruction.
Mutex& CreationLock()
{
    static Mutex* const lock = new Mutex;
    return *lock;
}

std::shared_ptr<LogAsync>& InstanceSlot()
{
    static auto* const slot = new std::shared_ptr<LogAsync>;
    return *slot;
}

// The end of the writer created last; guarded by CreationLock().
std::shared_ptr<Semaphore>& LastWriterEnd()
{
    static auto* const end = new std::shared_ptr<Semaphore>;
    return *end;
}

void Report(const SystemException& exception, const wchar_t* separator)
{
    Console::Err(std::wstring(exception.GetErrMsg()) + separator +
                 std::to_wstring(exception.GetErrNum()));
}

} // namespace

// Called under CreationLock() only.
LogAsync::LogAsync()
    : m_current(NewBuffer()), m_spare(NewBuffer()), m_previousWriterEnd(LastWriterEnd()),
      m_writerEnd(std::make_shared<Semaphore>())
{
    m_thread.Start(&LogAsync::Run, this);
    LastWriterEnd() = m_writerEnd;
}

LogAsync::~LogAsync()
{
    try {
        QueueCurrentBuffer();
    } catch (...) {
        // Flushing is best effort; the writer still drains what is queued.
    }
    m_running = false;
    try {
        // One count, kept by the semaphore until taken: the writer ends its
        // loop whether it waits already or is about to.
        m_wakeUp.Notify();
    } catch (const SystemException& exception) {
        Console::Out(std::wstring(exception.GetErrMsg()) + L" " +
                     std::to_wstring(exception.GetErrNum()));
    }
    try {
        m_thread.Join();
    } catch (const SystemException& exception) {
        Report(exception, L"errNum: ");
    }
}

// static
std::shared_ptr<LogAsync> LogAsync::GetInstance()
{
    ScopedLock lock(CreationLock());
    std::shared_ptr<LogAsync>& slot = InstanceSlot();
    if (!slot) {
        try {
            slot.reset(new LogAsync);
        } catch (const SystemException& exception) {
            Report(exception, L"errNum: ");
        } catch (const std::exception&) {
            Console::Err(L"LogAsync::GetInstance() fails.");
        }
    }
    return slot;
}

// static
void LogAsync::Release()
{
    std::shared_ptr<LogAsync> released;
    {
        ScopedLock lock(CreationLock());
        released.swap(InstanceSlot());
    }
}

// static
void LogAsync::Write(std::wstring_view text)
{
    const std::shared_ptr<LogAsync> instance = GetInstance();
    if (!instance) {
        return;
    }
    try {
        instance->Append(text);
    } catch (const SystemException& exception) {
        Console::Err(exception.GetErrMsg());
    } catch (const std::exception&) {
        Console::Err(L"LogAsync::Write(std::wstring_view) fails.");
    }
}

// static
void LogAsync::Flush()
{
    std::shared_ptr<LogAsync> instance;
    {
        ScopedLock lock(CreationLock());
        instance = InstanceSlot();
    }
    if (!instance) {
        return;
    }
    try {
        instance->QueueCurrentBuffer();
    } catch (...) {
        // Nothing to report to: the texts stay queued for the next flush.
    }
}

// static
void LogAsync::SetTargetFile(File* file)
{
    g_targetFile = file;
}

// static
File* LogAsync::GetTargetFile()
{
    return g_targetFile;
}

// static
LogAsync::Buffer LogAsync::NewBuffer()
{
    auto buffer = std::make_unique<std::wstring>();
    buffer->reserve(kBufferCapacity);
    return buffer;
}

void LogAsync::Append(std::wstring_view text)
{
    ScopedLock lock(m_lock);
    if (!m_current) {
        m_current = NewBuffer();
    }
    if (m_current->size() + text.size() <= kBufferCapacity) {
        m_current->append(text);
        return;
    }
    m_full.push_back(std::move(m_current));
    m_current = m_spare ? std::move(m_spare) : NewBuffer();
    m_current->append(text);
    m_wakeUp.Notify();
}

void LogAsync::QueueCurrentBuffer()
{
    ScopedLock lock(m_lock);
    if (!m_current || m_current->empty()) {
        return; // nothing to hand over; the spare may still be with the writer
    }
    m_full.push_back(std::move(m_current));
    m_current = std::move(m_spare);
    m_wakeUp.Notify();
}

bool LogAsync::TakeQueuedBuffer(Buffer& buffer)
{
    ScopedLock lock(m_lock);
    if (m_full.empty()) {
        return false;
    }
    buffer = std::move(m_full.front());
    m_full.pop_front();
    return true;
}

// static
std::uint32_t LogAsync::Run(void* self)
{
    auto* writer = static_cast<LogAsync*>(self);
    writer->WaitForPreviousWriter();
    while (writer->m_running) {
        try {
            writer->m_wakeUp.Wait();
        } catch (const SystemException& exception) {
            Report(exception, L"errNum: ");
        }
        writer->WriteQueuedBuffers();
    }
    writer->WriteQueuedBuffers(); // whatever was queued after the last wake-up
    try {
        writer->m_writerEnd->Notify();
    } catch (const SystemException& exception) {
        Report(exception, L"errNum: ");
    }
    return 0;
}

void LogAsync::WaitForPreviousWriter() noexcept
{
    if (!m_previousWriterEnd) {
        return;
    }
    try {
        m_previousWriterEnd->Wait();
    } catch (const SystemException& exception) {
        Report(exception, L"errNum: ");
    }
    m_previousWriterEnd.reset();
}

void LogAsync::WriteQueuedBuffers() noexcept
{
    File* const target = GetTargetFile();
    try {
        std::vector<std::wstring> lines;
        // Until the queue is empty: a null or empty entry is skipped, never
        // taken for the end of the queue.
        Buffer buffer;
        while (TakeQueuedBuffer(buffer)) {
            if (!buffer || buffer->empty()) {
                continue;
            }
            if (target == nullptr) {
                Log::WriteTo(Log::Target::OutputFile, buffer->c_str(), Log::Form::FinishedLines);
            } else {
                lines.push_back(std::move(*buffer));
            }
        }
        if (!lines.empty()) {
            target->AppendLines(lines, kTargetWriteBom, kTargetEncoding);
        }
        ScopedLock lock(m_lock);
        if (!m_spare) {
            m_spare = NewBuffer();
        }
    } catch (const SystemException& exception) {
        Report(exception, L"errNum: ");
    } catch (const Error& error) {
        Console::Err(error.GetErrMsg());
    } catch (const std::exception&) {
        Console::Err(L"LogAsync::Run() fails.");
    }
}

} // namespace KO
