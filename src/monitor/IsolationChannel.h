#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The page's line to the client's service for the information isolation
// state. The settings file names the service's pipe ("Isolation"/"Pipe");
// each change goes to it as one text message (CommonUtils::sendMessage),
// "isolation=on" or "isolation=off", and a delivered change is stored as
// "Isolation"/"State" (1 on, 0 off), so the stored state is always the one
// the service was last told.
//
// send() hands the message to a thread of its own and returns at once, since
// sendMessage blocks for seconds when the service is slow or missing. That
// thread stores the delivered state, writes one INFO line with the outcome,
// and queues sigAnswered to the thread that owns the channel (the GUI
// thread). A channel destroyed while a message is under way lets the thread
// finish on its own: the state is still stored, the answer goes nowhere.
class IsolationChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* kGroup = "Isolation";
    static constexpr const char* kPipeKey = "Pipe";
    static constexpr const char* kStateKey = "State";
    static constexpr const char* kMessageOn = "isolation=on";
    static constexpr const char* kMessageOff = "isolation=off";

    // The pipe named in `settingsFile`, trimmed; empty when none is.
    static QString configuredPipe(const QString& settingsFile);
    // Whether the service was last told that isolation is on.
    static bool storedOn(const QString& settingsFile);
    static QString message(bool on);

    IsolationChannel(const QString& pipeName, const QString& settingsFile, QObject* parent);
    ~IsolationChannel() override;
    Q_DISABLE_COPY_MOVE(IsolationChannel)

    const QString& pipeName() const { return m_pipeName; }

    // Sends the message for `on`; sigAnswered(on, delivered) follows.
    void send(bool on);

signals:
    void sigAnswered(bool on, bool delivered);

private:
    struct Link;

    // Runs on the sending thread: sends, stores a delivered state, logs the
    // outcome and queues the answer to the channel if it still lives.
    static void Deliver(const std::shared_ptr<Link>& link, const QString& pipeName,
                        const QString& settingsFile, bool on);

    const QString m_pipeName;
    const QString m_settingsFile;
    // Shared with the sending threads; cut by the destructor.
    std::shared_ptr<Link> m_link;
};
