// Text messages to a service over a named pipe.

#include "base_ui/utils/CommonUtils.h"

#include "base/Logging.h"
#include "base/NamedPipe.h"
#include "base/SystemException.h"
#include "base/Unicode.h"
#include "base_ui/utils/CommonUtilsTesting.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <thread>

namespace {

constexpr std::size_t kMaxPipeNameLength = 4095;
constexpr int kWriteAttempts = 5;

// The time-outs in use: the defaults, unless a test has set others.
class Timeouts
{
public:
    static PipeMessageTimeouts Get()
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        return s_timeouts;
    }

    static void Set(const PipeMessageTimeouts& timeouts)
    {
        const std::lock_guard<std::mutex> lock(s_mutex);
        s_timeouts = timeouts;
    }

private:
    static inline std::mutex s_mutex;
    static inline PipeMessageTimeouts s_timeouts;
};

// The name as a C string of at most kMaxPipeNameLength characters holds it.
std::wstring PipeName(const QString& given)
{
    std::wstring name = given.toStdWString();
    name.resize(std::min({name.size(), name.find(L'\0'), kMaxPipeNameLength}));
    return name;
}

void LogFailure(const KO::SystemException& exception)
{
    LOG_ERROR << exception.GetErrMsg() << ", ErrNum:" << exception.GetErrNum();
}

} // namespace

// static
int CommonUtils::sendMessage(const QString& pipeName, const QString& message)
{
    const std::wstring name = PipeName(pipeName);
    try {
        KO::LOCALSOCKET::NamedPipe pipe(name.c_str());
        const auto connectMs = static_cast<unsigned int>(Timeouts::Get().connect.count());
        if (pipe.Connect(connectMs) < 0) {
            LOG_ERROR << "Connect " << name << " timeout.";
            return -1;
        }
        return clientWriteToServer(pipe, message.toStdWString());
    } catch (const KO::SystemException& exception) {
        LogFailure(exception);
        LOG_ERROR << "Send_Message failed.";
        return -1;
    }
}

// static
int CommonUtils::clientWriteToServer(KO::LOCALSOCKET::NamedPipe& pipe, const std::wstring& text)
{
    LOG_TRACE << "[write_buffer]:" << text;
    std::string bytes;
    KO::Unicode::AppendUtf16Le(text.data(), text.size(), bytes);
    const auto pause = Timeouts::Get().writePause;
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        try {
            pipe.Write(bytes.data(), bytes.size());
            pipe.Flush();
            LOG_TRACE << "Write buffer success.";
            return 0;
        } catch (const KO::SystemException& exception) {
            LogFailure(exception);
            LOG_ERROR << "Write buffer failed.";
            std::this_thread::sleep_for(pause);
        }
    }
    return -1;
}

void CommonUtilsTesting::SetPipeMessageTimeouts(const PipeMessageTimeouts& timeouts)
{
    Timeouts::Set(timeouts);
}

PipeMessageTimeouts CommonUtilsTesting::GetPipeMessageTimeouts()
{
    return Timeouts::Get();
}
