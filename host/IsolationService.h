#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

namespace KO::LOCALSOCKET {
class NamedPipe;
} // namespace KO::LOCALSOCKET

namespace KO::LocalSocket {
class Server;
} // namespace KO::LocalSocket

// The client's service as far as the monitor page's isolation switch goes: a
// KO::LocalSocket::Server on the pipe that the page's settings file names.
// Each client brings one message, UTF-16LE, read until the client closes its
// end; the service logs every message (INFO), and "isolation=on" and
// "isolation=off" set the isolation state. Other texts change nothing.
//
// isolated() may be read from any thread. sigMessage and sigIsolationChanged
// are emitted on the thread that owns the service, after the state has
// changed. The server's handler is a plain function, so one service at a
// time listens in a process. Destruction stops the server (within about one
// accept time-out) before the object goes.
class IsolationService : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kDefaultPipeName = "ko-monitor-isolation";
    static constexpr const char* kMessageOn = "isolation=on";
    static constexpr const char* kMessageOff = "isolation=off";

    // A service for `pipeName` whose state starts at `isolated`; nothing
    // listens yet.
    IsolationService(const QString& pipeName, bool isolated, QObject* parent = nullptr);
    ~IsolationService() override;
    Q_DISABLE_COPY_MOVE(IsolationService)

    // The pipe that the settings file `settingsFile` names ("Isolation"/
    // "Pipe"), after naming kDefaultPipeName there when it names none.
    static QString configuredPipeName(const QString& settingsFile);
    // The last state told to the service ("Isolation"/"State" is 1).
    static bool storedIsolation(const QString& settingsFile);

    // Starts serving the pipe; false with errorString() when the pipe is
    // taken, another service of this process listens, or a thread fails.
    bool listen();
    QString errorString() const { return m_error; }

    const QString& pipeName() const { return m_pipeName; }
    bool isolated() const { return m_isolated; }

signals:
    // Every message, as received.
    void sigMessage(const QString& text);
    void sigIsolationChanged(bool isolated);

private:
    // The server's handler: reads one message and hands it to the service.
    static bool ServeClient(KO::LOCALSOCKET::NamedPipe* client);
    // On a worker thread, under the instance lock.
    void receive(const QString& text);

    const QString m_pipeName;
    std::atomic<bool> m_isolated;
    std::unique_ptr<KO::LocalSocket::Server> m_server;
    QString m_error;
};
