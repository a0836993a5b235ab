#pragma once

// What the end-to-end tests of the isolation switch share: the settings that
// name the service's pipe, a stand-in service on that pipe, and an answer to
// every box the page shows. Each test is a program of its own, in a
// directory of its own, so that its settings file is its own; its pipe name
// is unique to the run.

#include "PluginHost.h"

#include "base/NamedPipe.h"
#include "base/SystemException.h"

#include <QByteArray>
#include <QCursor>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QVariant>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace IsolationHost {

using namespace PluginHost;

// The texts on the pipe, and in the boxes.
const char* const kMessageOn = "isolation=on";
const char* const kMessageOff = "isolation=off";
const char* const kConfirmation =
    "开启信息隔离，将关闭您和云端的所有交互，网络空间无法获得您使用本程序的所有信息，"
    "您将无法获得云端为您提供的所有服务（包含专业化的定制服务）";
const char* const kServiceUnreachable = "无法连接到客户端服务，信息隔离模式未更改。";

// How a text arrives on the pipe: UTF-16LE code units, nothing else.
inline QByteArray Utf16Le(const char* ascii)
{
    QByteArray bytes;
    for (const char* c = ascii; *c != '\0'; ++c) {
        bytes.append(*c);
        bytes.append('\0');
    }
    return bytes;
}

inline QString SettingsFile()
{
    return QDir(Directory()).filePath("UiCommonSetting.ini");
}

// Names `pipe` as the service's pipe in the settings file, with `state` as
// the stored isolation state (none: no state stored).
inline void Configure(const QString& pipe, std::optional<int> state)
{
    QSettings settings(SettingsFile(), QSettings::IniFormat);
    settings.setValue("Isolation/Pipe", pipe);
    if (state.has_value()) {
        settings.setValue("Isolation/State", *state);
    } else {
        settings.remove("Isolation/State");
    }
}

// The stored isolation state; none when none is stored.
inline std::optional<int> StoredState()
{
    const QSettings settings(SettingsFile(), QSettings::IniFormat);
    const QVariant state = settings.value("Isolation/State");
    return state.isValid() ? std::optional<int>(state.toInt()) : std::nullopt;
}

inline QString UniquePipeName()
{
    return QString("ko-test-isolation-%1").arg(QCoreApplication::applicationPid());
}

inline QWidget* Switch(const QWidget& page)
{
    return page.findChild<QWidget*>("AntivirusMonitorIsolationSwitch");
}

// Whether the switch takes clicks (its cursor says so: pointing hand when
// it does, busy while the page waits for the service).
inline bool Clickable(const QWidget* switchButton)
{
    return switchButton->cursor().shape() == Qt::PointingHandCursor;
}

// The INFO line of one change of the switch and its outcome.
inline QRegularExpression OutcomeLine(const QString& change, const QString& pipe,
                                      const QString& outcome)
{
    return LogLinePattern(
        "INFO", "IsolationChannel\\.cpp", "IsolationChannel::Deliver",
        QRegularExpression::escape(
            QString("isolation %1: the service on %2 %3").arg(change, pipe, outcome)));
}

// A stand-in service on the pipe `name`: a thread accepts clients one after
// another, reads each message until the client closes its end and keeps its
// bytes. A Held service keeps each message unread until release() and for
// at least two seconds after its client connected, as a slow service would.
class PipeService
{
public:
    static constexpr unsigned int kAcceptMs = 100;

    enum class Reading
    {
        AtOnce,
        Held,
    };

    explicit PipeService(const QString& name, Reading reading = Reading::AtOnce)
        : m_name(name.toStdWString()), m_reading(reading)
    {
        m_pipe.Open();
        m_thread = std::thread([this] { serve(); });
    }

    ~PipeService()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }

    Q_DISABLE_COPY_MOVE(PipeService)

    std::vector<QByteArray> messages() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }

    // Whether a message is being held unread.
    bool holding() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_holding;
    }

    // Lets held messages be read.
    void release()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_released = true;
        }
        m_changed.notify_all();
    }

private:
    void serve()
    {
        while (!stopped()) {
            std::unique_ptr<KO::LOCALSOCKET::NamedPipe> client;
            try {
                client = m_pipe.WaitForConnection(kAcceptMs);
            } catch (const KO::SystemException&) {
                continue;
            }
            if (client == nullptr) {
                continue;
            }
            if (m_reading == Reading::Held) {
                hold();
            }
            const QByteArray bytes = readToEnd(*client);
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_messages.push_back(bytes);
        }
    }

    bool stopped() const
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return m_stop;
    }

    void hold()
    {
        const auto connected = std::chrono::steady_clock::now();
        std::unique_lock<std::mutex> lock(m_mutex);
        m_holding = true;
        m_changed.wait_for(lock, std::chrono::milliseconds(kDeadlineMs),
                           [this] { return m_released || m_stop; });
        m_changed.wait_until(lock, connected + std::chrono::seconds(2), [this] { return m_stop; });
        m_holding = false;
    }

    static QByteArray readToEnd(KO::LOCALSOCKET::NamedPipe& client)
    {
        QByteArray bytes;
        char buffer[256];
        try {
            for (;;) {
                bytes.append(buffer, static_cast<qsizetype>(client.Read(buffer, sizeof(buffer))));
            }
        } catch (const KO::SystemException&) {
            // The client closed its end.
        }
        return bytes;
    }

    const std::wstring m_name;
    const Reading m_reading;
    KO::LOCALSOCKET::NamedPipe m_pipe{m_name.c_str()};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<QByteArray> m_messages;
    bool m_holding = false;
    bool m_released = false;
    bool m_stop = false;
};

// One box the page showed.
struct Box
{
    QString message;
    bool rejectShown = false;
};

// Answers, while it lives, every modal box shown after its construction by
// clicking its accept button, and keeps what each box said.
class BoxAnswers
{
public:
    BoxAnswers()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { check(); });
        m_poll.start(10);
    }

    Q_DISABLE_COPY_MOVE(BoxAnswers)

    const std::vector<Box>& boxes() const { return m_boxes; }

private:
    void check()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || dialog == m_last.data()) {
            return;
        }
        m_last = dialog;
        Box box;
        if (const auto* label = dialog->findChild<QLabel*>("ListItemLabelState")) {
            box.message = label->text();
        }
        const auto* reject = dialog->findChild<QWidget*>("InfoMessageBoxReject");
        box.rejectShown = reject != nullptr && reject->isVisible();
        m_boxes.push_back(box);
        Click(dialog->findChild<QWidget*>("InfoMessageBoxAccept"));
        if (!m_last.isNull() && m_last->isVisible()) {
            m_last->reject();
        }
    }

    QTimer m_poll;
    QPointer<QDialog> m_last;
    std::vector<Box> m_boxes;
};

// The settings file names this test's pipe; the log lines of the test are
// counted from its start.
class IsolationTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(GetInterface(), nullptr) << Plugin().errorString().toStdString();
    }

    int CountNewLogLines(const QRegularExpression& pattern) const
    {
        return CountLogLines(pattern, m_logStart);
    }

    const QString m_pipe = UniquePipeName();
    const int m_logStart = static_cast<int>(LogLines().size());
};

} // namespace IsolationHost
