#include "ScreenTour.h"

#include "HostWindow.h"

#include "monitor/lib/RecordCategory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

constexpr int kCustomTimeFilter = 5;
// Longer than any animation of the page (the switch's takes 100 ms).
constexpr int kSettleMs = 250;
constexpr int kWaitMs = 10000;
constexpr int kPollMs = 20;

// Runs the event loop for `ms` milliseconds.
void Settle(int ms = kSettleMs)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool IsA(const QObject* object, const char* className)
{
    return qstrcmp(object->metaObject()->className(), className) == 0;
}

// The visible descendants of `root` of class `className`, top to bottom and
// left to right.
QList<QWidget*> Shown(const QWidget* root, const char* className)
{
    QList<QWidget*> found;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (IsA(child, className) && child->isVisible()) {
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

void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButtons buttons)
{
    const QPointF centre = QRectF(widget->rect()).center();
    QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A left click in the middle of `widget`, after which the pointer leaves it.
void Click(QWidget* widget)
{
    const QPointer<QWidget> target(widget);
    SendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, Qt::NoButton);
    if (!target.isNull()) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
}

// Calls `trigger`, which runs a modal dialog and returns once it has ended;
// `whileOpen` runs inside the dialog's event loop as soon as the dialog is
// shown, and may end it; a dialog still open afterwards is rejected. False
// when no dialog appeared before `trigger` returned or within the time limit.
bool WhileModal(const std::function<void()>& trigger,
                const std::function<void(QDialog&)>& whileOpen)
{
    const QWidget* const before = QApplication::activeModalWidget();
    bool opened = false;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog != before && dialog->isVisible()) {
            poll.stop();
            opened = true;
            Settle();
            const QPointer<QDialog> open(dialog);
            whileOpen(*dialog);
            if (!open.isNull() && open->isVisible()) {
                open->reject();
            }
        } else if (clock.elapsed() > kWaitMs) {
            poll.stop();
        }
    });
    poll.start(10);
    trigger();
    return opened;
}

// Whether the isolation switch takes clicks: a pointing hand over it, not
// the busy cursor of a page waiting for the service.
bool Clickable(const QWidget* switchButton)
{
    return switchButton->cursor().shape() == Qt::PointingHandCursor;
}

// Runs the event loop until the switch takes clicks again (the service has
// answered) or the time limit has passed. A notice that the service could not
// be reached is closed.
void WaitUntilClickable(const QWidget* switchButton)
{
    QTimer closeNotices;
    QObject::connect(&closeNotices, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    });
    closeNotices.start(kPollMs);
    QElapsedTimer clock;
    clock.start();
    while (!Clickable(switchButton) && clock.elapsed() < kWaitMs) {
        Settle(kPollMs);
    }
}

} // namespace

ScreenTour::ScreenTour(HostWindow& window, const QString& directory)
    : m_window(window), m_directory(directory)
{}

QStringList ScreenTour::run()
{
    if (!m_directory.mkpath(".")) {
        fail("cannot create " + m_directory.path());
        return {};
    }
    m_window.move(40, 40);
    m_window.show();
    Settle();
    saveViews();
    saveDiaries();
    saveConfirmationBox();
    return m_error.isEmpty() ? m_written : QStringList();
}

void ScreenTour::saveViews()
{
    save("view_by_time.png", {&m_window});
    const auto radios = m_window.page()->findChildren<QRadioButton*>();
    if (radios.size() != 2) {
        fail("the page has no two view buttons");
        return;
    }
    Click(radios[0]->x() < radios[1]->x() ? radios[1] : radios[0]);
    Settle();
    save("view_by_type.png", {&m_window});
}

void ScreenTour::saveDiaries()
{
    const QList<QWidget*> buttons = Shown(m_window.page(), "CIconButton");
    if (buttons.size() != static_cast<int>(RecordCategory::kCount)) {
        fail("the view by type shows no five categories");
        return;
    }
    // The grid shows the categories in RecordCategory::kAll's order.
    for (std::size_t i = 0; i < RecordCategory::kCount; ++i) {
        const int category = RecordCategory::kAll[i];
        const bool opened =
            WhileModal([&] { Click(buttons[static_cast<int>(i)]); },
                       [&](QDialog& diary) {
                           save(QString("diary_%1.png")
                                    .arg(QString::fromLatin1(RecordCategory::Name(category))),
                                {&m_window, &diary});
                           saveDiaryExtras(category, diary);
                       });
        if (!opened) {
            fail(QString("no diary for category %1").arg(category));
        }
    }
}

void ScreenTour::saveDiaryExtras(int category, QDialog& diary)
{
    if (category == RecordCategory::kProgramStart) {
        const QList<QWidget*> viewButtons = Shown(&diary, "PushButton");
        const bool opened = !viewButtons.isEmpty() &&
                            WhileModal([&] { Click(viewButtons.first()); },
                                       [&](QDialog& detail) {
                                           save("detail_box.png", {&m_window, &diary, &detail});
                                       });
        if (!opened) {
            fail("no detail box in the program start diary");
        }
    } else if (category == RecordCategory::kExecuteScan) {
        auto* filter = diary.findChild<QComboBox*>("PROGRAM_DIARY_COMBOBOX");
        if (filter == nullptr) {
            fail("no time filter in the scan diary");
            return;
        }
        filter->setCurrentIndex(kCustomTimeFilter);
        emit filter->activated(kCustomTimeFilter);
        Settle();
        QPointer<QWidget> dates;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (IsA(window, "CSelectDateDialog") && window->isVisible()) {
                dates = window;
            }
        }
        if (dates.isNull()) {
            fail("no date dialog for the custom time filter");
            return;
        }
        save("date_dialog.png", {&m_window, &diary, dates.data()});
        dates->close();
    }
}

void ScreenTour::saveConfirmationBox()
{
    const QList<QWidget*> switches = Shown(m_window.page(), "CSwitchButton");
    if (switches.size() != 1) {
        fail("the page has no isolation switch");
        return;
    }
    QWidget* const switchButton = switches.first();
    // Turning on asks first: the box is saved, then accepted, so that the
    // page tells the host's service.
    const auto turnOn = [&] {
        return WhileModal([&] { Click(switchButton); },
                          [&](QDialog& box) {
                              save("confirmation_box.png", {&m_window, &box});
                              if (auto* accept = box.findChild<QWidget*>("InfoMessageBoxAccept")) {
                                  Click(accept);
                              }
                          });
    };
    // A page that starts with isolation on turns it off on the first click.
    const bool startedOff = turnOn();
    if (!startedOff) {
        WaitUntilClickable(switchButton);
        if (!turnOn()) {
            fail("turning the switch on asked for no confirmation");
            return;
        }
    }
    WaitUntilClickable(switchButton);
    // The page is left as it was found.
    if (startedOff) {
        Click(switchButton);
        WaitUntilClickable(switchButton);
    }
    Settle();
}

void ScreenTour::save(const QString& name, const QList<QWidget*>& windows)
{
    QRect screen;
    for (const QWidget* window : windows) {
        screen |= window->frameGeometry();
    }
    screen.adjust(-20, -20, 20, 20);
    // At a device pixel ratio above 1 the picture keeps the screen's pixels.
    const qreal ratio = windows.isEmpty() ? 1.0 : windows.front()->devicePixelRatioF();
    QImage image(screen.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor("#5b6b82"));
    QPainter painter(&image);
    for (QWidget* window : windows) {
        painter.drawPixmap(window->geometry().topLeft() - screen.topLeft(), window->grab());
    }
    painter.end();
    const QString path = m_directory.absoluteFilePath(name);
    if (!image.save(path)) {
        fail("cannot write " + path);
        return;
    }
    m_written.append(path);
}

void ScreenTour::fail(const QString& error)
{
    if (m_error.isEmpty()) {
        m_error = error;
    }
}
