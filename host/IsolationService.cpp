#include "IsolationService.h"

#include "base/Logging.h"
#include "base/NamedPipe.h"
#include "base/Server.h"
#include "base/SystemException.h"

#include <QMetaObject>
#include <QSettings>

#include <mutex>
#include <string>

namespace {

const char* const kPipeKey = "Isolation/Pipe";
const char* const kStateKey = "Isolation/State";

// The service that the server's handler serves; one at a time.
std::mutex& InstanceLock()
{
    static std::mutex lock;
    return lock;
}

IsolationService*& Instance()
{
    static IsolationService* instance = nullptr;
    return instance;
}

// The bytes of one message, read until the client closes its end, as
// UTF-16LE code units (an odd last byte is dropped).
QString ReadMessage(KO::LOCALSOCKET::NamedPipe& client)
{
    std::string bytes;
    char buffer[512];
    try {
        for (;;) {
            bytes.append(buffer, client.Read(buffer, sizeof(buffer)));
        }
    } catch (const KO::SystemException&) {
        // The client closed its end: the message is complete.
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size() / 2));
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    return text;
}

} // namespace

IsolationService::IsolationService(const QString& pipeName, bool isolated, QObject* parent)
    : QObject(parent), m_pipeName(pipeName), m_isolated(isolated)
{}

IsolationService::~IsolationService()
{
    {
        const std::lock_guard<std::mutex> lock(InstanceLock());
        if (Instance() == this) {
            Instance() = nullptr;
        }
    }
    m_server.reset();
}

// static
QString IsolationService::configuredPipeName(const QString& settingsFile)
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    const QString named = settings.value(kPipeKey).toString().trimmed();
    if (!named.isEmpty()) {
        return named;
    }
    settings.setValue(kPipeKey, QString::fromLatin1(kDefaultPipeName));
    return QString::fromLatin1(kDefaultPipeName);
}

// static
bool IsolationService::storedIsolation(const QString& settingsFile)
{
    const QSettings settings(settingsFile, QSettings::IniFormat);
    return settings.value(kStateKey).toInt() == 1;
}

bool IsolationService::listen()
{
    const std::lock_guard<std::mutex> lock(InstanceLock());
    if (Instance() != nullptr) {
        m_error = QStringLiteral("another isolation service listens in this process");
        return false;
    }
    const std::wstring name = m_pipeName.toStdWString();
    // One worker: messages are applied in the order they came.
    auto server = std::make_unique<KO::LocalSocket::Server>(name.c_str(), 1);
    try {
        server->Listen(&IsolationService::ServeClient);
    } catch (const KO::SystemException& exception) {
        m_error = QStringLiteral("cannot serve the pipe %1: %2 (error %3)")
                      .arg(m_pipeName, QString::fromWCharArray(exception.GetErrMsg()))
                      .arg(exception.GetErrNum());
        return false;
    }
    m_server = std::move(server);
    Instance() = this;
    return true;
}

// static
bool IsolationService::ServeClient(KO::LOCALSOCKET::NamedPipe* client)
{
    const QString text = ReadMessage(*client);
    const std::lock_guard<std::mutex> lock(InstanceLock());
    if (Instance() != nullptr) {
        Instance()->receive(text);
    }
    return true;
}

void IsolationService::receive(const QString& text)
{
    const std::wstring received = L"isolation service: received \"" + text.toStdWString() + L"\"";
    const bool on = text == QLatin1String(kMessageOn);
    if (!on && text != QLatin1String(kMessageOff)) {
        LOG_INFO << received << L", not a message of the service.";
        QMetaObject::invokeMethod(
            this, [this, text] { emit sigMessage(text); }, Qt::QueuedConnection);
        return;
    }
    const bool changed = m_isolated.exchange(on) != on;
    LOG_INFO << received << (on ? L", isolation on." : L", isolation off.");
    QMetaObject::invokeMethod(
        this,
        [this, text, on, changed] {
            emit sigMessage(text);
            if (changed) {
                emit sigIsolationChanged(on);
            }
        },
        Qt::QueuedConnection);
}
