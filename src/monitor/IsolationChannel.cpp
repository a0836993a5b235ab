#include "monitor/IsolationChannel.h"

#include "base/Logging.h"
#include "base_ui/utils/CommonUtils.h"

#include <QMetaObject>

#include <mutex>
#include <string>
#include <system_error>
#include <thread>

// What a sending thread reaches the channel through: the channel while it
// lives, null once it is destroyed.
struct IsolationChannel::Link
{
    std::mutex mutex;
    IsolationChannel* channel = nullptr;
};

// static
QString IsolationChannel::configuredPipe(const QString& settingsFile)
{
    QString pipeName;
    CommonUtils::ReadIniString(settingsFile, kGroup, kPipeKey, pipeName);
    return pipeName.trimmed();
}

// static
bool IsolationChannel::storedOn(const QString& settingsFile)
{
    int state = 0;
    return CommonUtils::ReadIniInt(settingsFile, kGroup, kStateKey, state) && state == 1;
}

// static
QString IsolationChannel::message(bool on)
{
    return QString::fromLatin1(on ? kMessageOn : kMessageOff);
}

IsolationChannel::IsolationChannel(const QString& pipeName, const QString& settingsFile,
                                   QObject* parent)
    : QObject(parent), m_pipeName(pipeName), m_settingsFile(settingsFile),
      m_link(std::make_shared<Link>())
{
    m_link->channel = this;
}

IsolationChannel::~IsolationChannel()
{
    const std::lock_guard<std::mutex> lock(m_link->mutex);
    m_link->channel = nullptr;
}

void IsolationChannel::send(bool on)
{
    try {
        std::thread(&IsolationChannel::Deliver, m_link, m_pipeName, m_settingsFile, on).detach();
    } catch (const std::system_error&) {
        LOG_ERROR << "start isolation message thread failed !";
        QMetaObject::invokeMethod(
            this, [this, on] { emit sigAnswered(on, false); }, Qt::QueuedConnection);
    }
}

// static
void IsolationChannel::Deliver(const std::shared_ptr<Link>& link, const QString& pipeName,
                               const QString& settingsFile, bool on)
{
    const bool delivered = CommonUtils::sendMessage(pipeName, message(on)) == 0;
    const std::wstring change = std::wstring(on ? L"isolation on: " : L"isolation off: ") +
                                L"the service on " + pipeName.toStdWString();
    if (delivered) {
        if (!CommonUtils::WriteIniInt(settingsFile, kGroup, kStateKey, on ? 1 : 0)) {
            LOG_ERROR << "write isolation state failed !";
        }
        LOG_INFO << change << L" was told.";
    } else {
        LOG_INFO << change << L" could not be reached; the switch is back "
                 << (on ? L"off." : L"on.");
    }

    const std::lock_guard<std::mutex> lock(link->mutex);
    IsolationChannel* const channel = link->channel;
    if (channel == nullptr) {
        return;
    }
    // Queued to the channel's thread; a channel destroyed before the call
    // runs takes the call with it.
    QMetaObject::invokeMethod(
        channel, [channel, on, delivered] { emit channel->sigAnswered(on, delivered); },
        Qt::QueuedConnection);
}
