#pragma once

// What the end-to-end tests of the plug-in share: the plug-in loaded like a
// host loads it (QLibrary, by its one export), a host window around a page,
// the page's widgets found the way a host can find them (class and object
// names, Qt's own classes), modal dialogs handled from inside their event
// loop, and the page's log file read back.
//
// Each test program lies in a directory of its own with a copy of the
// plug-in, so its log file and settings file are its own. Cases of one
// program may still run in parallel processes: log lines are read for this
// process only.

#include "iAntivirusMonitor.h"

#include "ModalWatch.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibrary>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleHints>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>

namespace PluginHost {

constexpr int kDeadlineMs = 10000;

inline QString Directory()
{
    return QCoreApplication::applicationDirPath();
}

// The plug-in beside the test program, loaded once for the process.
inline QLibrary& Plugin()
{
    static QLibrary library(QDir(Directory()).filePath("AntivirusMonitor"));
    return library;
}

inline GetInterfaceFunction GetInterface()
{
    return reinterpret_cast<GetInterfaceFunction>(Plugin().resolve(kGetInterfaceSymbol));
}

// Processes events (deferred deletions too) until `done` holds or the
// deadline has passed; returns whether it holds.
template <typename Predicate>
bool WaitFor(Predicate done)
{
    return QTest::qWaitFor(done, kDeadlineMs);
}

inline bool IsA(const QObject* object, const char* className)
{
    return object != nullptr && qstrcmp(object->metaObject()->className(), className) == 0;
}

// The descendants of `root` of class `className`, top to bottom, then left
// to right.
inline QList<QWidget*> Find(const QWidget* root, const char* className)
{
    QList<QWidget*> found;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (IsA(child, className)) {
            found.append(child);
        }
    }
    std::sort(found.begin(), found.end(), [root](const QWidget* a, const QWidget* b) {
        const QPoint pa = a->mapTo(root->window(), QPoint());
        const QPoint pb = b->mapTo(root->window(), QPoint());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return found;
}

inline QWidget* FindOne(const QWidget* root, const char* className)
{
    const QList<QWidget*> found = Find(root, className);
    return found.size() == 1 ? found.first() : nullptr;
}

// Left click in the middle of `widget`, delivered through its window. Its
// events are stamped a double-click interval after the previous ones, so
// that two clicks at one place never make a double click.
inline void Click(const QWidget* widget)
{
    if (widget == nullptr) {
        ADD_FAILURE() << "nothing to click";
        return;
    }
    QWindow* window = widget->window()->windowHandle();
    QTest::mouseClick(window, Qt::LeftButton, {},
                      widget->mapTo(widget->window(), widget->rect().center()),
                      QGuiApplication::styleHints()->mouseDoubleClickInterval() + 1);
}

// The shared watch for modal dialogs.
using ::ModalWatch;

// The isolation switch's frames: six in its strip, the first on, the last off.
constexpr int kSwitchFrames = 6;
constexpr int kFrameOn = 1;
constexpr int kFrameOff = 6;

// Whether the switch shows frame `frame` of its strip.
inline bool ShowsFrame(QWidget* switchButton, int frame)
{
    const QImage strip(":/images/pix_switch.png");
    const int width = strip.width() / kSwitchFrames;
    const QImage shown = switchButton->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage expected(shown.size(), QImage::Format_RGB32);
    expected.fill(shown.pixel(0, 0));
    QPainter painter(&expected);
    painter.drawImage(0, 0, strip.copy((frame - 1) * width, 0, width, strip.height()));
    painter.end();
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor a = shown.pixelColor(x, y);
            const QColor b = expected.pixelColor(x, y);
            if (std::abs(a.red() - b.red()) > 3 || std::abs(a.green() - b.green()) > 3 ||
                std::abs(a.blue() - b.blue()) > 3) {
                return false;
            }
        }
    }
    return true;
}

// A page from getInterface; throws when the plug-in gives none.
inline iAntivirusMonitor* NewPage()
{
    const GetInterfaceFunction getInterface = GetInterface();
    iAntivirusMonitor* page = getInterface != nullptr ? getInterface() : nullptr;
    if (page == nullptr) {
        throw std::runtime_error("no page from the plug-in");
    }
    return page;
}

// A host window around a page from getInterface, built in the host's order:
// parent, centre widget, page build; then shown.
class Host
{
public:
    Host() : m_window(std::make_unique<QWidget>()), m_page(NewPage())
    {
        m_window->resize(874, 474);
        m_page->setParentWidget(m_window.get());
        m_page->setCenterWidget(m_window.get());
        m_page->initUi();
        m_window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        // Park the pointer in a corner, so that the first click's move is real.
        QTest::mouseMove(m_window->windowHandle(),
                         QPoint(m_window->width() - 2, m_window->height() - 2));
        QTest::mouseMove(m_window->windowHandle(),
                         QPoint(m_window->width() - 1, m_window->height() - 1));
    }

    QWidget& window() const { return *m_window; }
    iAntivirusMonitor& page() const { return *m_page; }

private:
    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<iAntivirusMonitor> m_page; // leaves the window first
};

// The lines that this process wrote to the page's log file
// "log/AntivirusMonitor.out" beside the program, without their line ends.
inline QStringList LogLines()
{
    QFile file(QDir(Directory()).filePath("log/AntivirusMonitor.out"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString own = QString("][%1:").arg(QCoreApplication::applicationPid());
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split("\r\n")) {
        if (line.contains(own)) {
            lines.append(line);
        }
    }
    return lines;
}

// The whole-line pattern of a log line of this process: time and ids, then
// "[LEVEL] <file> <function> <line:N> " and the message; file, function and
// message are patterns.
inline QRegularExpression LogLinePattern(const QString& level, const QString& file,
                                         const QString& function, const QString& message)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(
        QString(R"(\x{feff}?\[\d{4}-[1-9]\d?-[1-9]\d? \d{1,2}:\d{1,2}:\d{1,2}\.\d{1,3}\])") +
        QString(R"(\[%1:\d+\]\[%2\] <%3> <%4> <line:\d+> )")
            .arg(QCoreApplication::applicationPid())
            .arg(level, file, function) +
        message));
}

// How many of this process's log lines from the `from`th on match `pattern`.
inline int CountLogLines(const QRegularExpression& pattern, int from = 0)
{
    const QStringList lines = LogLines().mid(from);
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const QString& line) {
        return pattern.match(line).hasMatch();
    }));
}

} // namespace PluginHost
