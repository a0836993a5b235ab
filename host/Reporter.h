#pragma once

#include <QLibrary>
#include <QObject>
#include <QString>
#include <QTimer>

struct KoLogModule;

// The host as a client of the log module: it loads "KoLogModule" from a
// directory (its own object, beside the page's), appends a program-start
// report with this machine's data (EndpointInfo) when started, and a
// heartbeat report at once and then every interval.
//
// setPaused(true) stops the heartbeats until setPaused(false), which reports
// one at once and goes on (the isolation mode pauses the reporter, as a
// client in isolation reports nothing). A reporter started paused loads the
// module and reports nothing; its start report follows when it resumes. GUI
// thread only; failures are reported by the results and lastError().
class Reporter : public QObject
{
public:
    Reporter(const QString& directory, int intervalMs, QObject* parent = nullptr);
    ~Reporter() override;
    Q_DISABLE_COPY_MOVE(Reporter)

    // Loads the module and, unless paused, reports the start; false when
    // either fails.
    bool start();

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

    // Appends one heartbeat report; false when it fails.
    bool reportHeartbeat();

    QString lastError() const { return m_lastError; }

private:
    bool load();
    // Reports what is due once running: the start (once), a heartbeat at
    // once and then at the interval; false when the start report fails.
    bool report();
    bool reportStart();
    // Appends a record of `category` with `fields`; false with lastError().
    bool append(int category, const QStringList& fields);

    QLibrary m_library;
    KoLogModule* m_module = nullptr;
    QTimer m_heartbeat;
    bool m_paused = false;
    bool m_startReported = false;
    QString m_lastError;
};
