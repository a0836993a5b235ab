#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// Watches, while it lives, for the next modal dialog other than the one
// active at its construction: once that is shown, `act` runs inside its
// event loop and should end it. The watch gives up at the deadline.
// Header only, so that the plug-in's end-to-end tests, which link nothing of
// the plug-in, can use it too.
class ModalWatch
{
public:
    static constexpr int kDeadlineMs = 10000;

    explicit ModalWatch(std::function<void(QDialog&)> act)
        : m_act(std::move(act)), m_before(QApplication::activeModalWidget())
    {
        m_clock.start();
        QObject::connect(&m_poll, &QTimer::timeout, [this] { check(); });
        m_poll.start(10);
    }

    Q_DISABLE_COPY_MOVE(ModalWatch)

    // Whether the dialog was seen.
    bool seen() const { return m_seen; }

private:
    void check()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog != m_before && dialog->isVisible()) {
            m_poll.stop();
            m_seen = true;
            m_act(*dialog);
        } else if (m_clock.elapsed() > kDeadlineMs) {
            m_poll.stop();
        }
    }

    std::function<void(QDialog&)> m_act;
    const QWidget* m_before;
    QTimer m_poll;
    QElapsedTimer m_clock;
    bool m_seen = false;
};

// What ExecAnswered returns for a dialog that nothing ended.
constexpr int kUnanswered = -99;

// Runs `dialog` with exec; once it is the active modal dialog, `act` runs
// inside its event loop and should end it. A dialog still open at the
// deadline ends with kUnanswered. Returns what exec returned.
template <typename Dialog>
int ExecAnswered(Dialog& dialog, const std::function<void(Dialog&)>& act)
{
    const ModalWatch watch([&dialog, &act](QDialog& modal) {
        if (&modal == &dialog) {
            act(dialog);
        }
    });
    QTimer deadline; // ends with this call, so it never reaches a later exec
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &dialog, [&dialog] { dialog.done(kUnanswered); });
    deadline.start(ModalWatch::kDeadlineMs);
    return dialog.exec();
}
