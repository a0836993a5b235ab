// The monitor page loaded like a host loads it: from getInterface to the
// first painted frame of the page, and from a click on a category to the
// first painted frame of its diary dialog. Each is measured, in the same run,
// against a plain QWidget page or QDialog with as many labels as the page or
// the diary has widgets, without a style sheet and with the page's own style
// sheet (which the diary inherits from the page), and against a copy of the
// page or the diary made of plain Qt widgets of the same kinds, texts and
// places under that style sheet (WidgetMirror).

#include "WidgetMirror.h"
#include "iAntivirusMonitor.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLibrary>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

GetInterfaceFunction GetInterface()
{
    static QLibrary library(
        QDir(QCoreApplication::applicationDirPath()).filePath("AntivirusMonitor"));
    return reinterpret_cast<GetInterfaceFunction>(library.resolve(kGetInterfaceSymbol));
}

// Notes the first paint of a watched widget.
class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Shows `window` and processes events until `page` has painted.
void ShowUntilPainted(QWidget& window, QWidget& page)
{
    FirstPaint paint;
    page.installEventFilter(&paint);
    window.show();
    while (!paint.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    page.removeEventFilter(&paint);
}

void Discard(std::unique_ptr<QWidget>& window)
{
    window.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

std::unique_ptr<QWidget> NewWindow()
{
    auto window = std::make_unique<QWidget>();
    window->resize(874, 474);
    return window;
}

// A plain page with `labels` labels and the style sheet `sheet`.
QWidget* PlainPage(QWidget* parent, int labels, const QString& sheet)
{
    auto* page = new QWidget(parent);
    page->setStyleSheet(sheet);
    page->setGeometry(12, 62, 850, 400);
    for (int i = 0; i < labels; ++i) {
        auto* label = new QLabel(QString("label %1").arg(i), page);
        label->move(10 + (i % 8) * 100, 10 + (i / 8) * 20);
    }
    return page;
}

// Widgets of a built monitor page, and of the program-start diary.
struct Counts
{
    int page = 0;
    int diary = 0;
    // The page's style sheet.
    QString sheet;
    QRect pageGeometry;
    QSize diarySize;
    std::unique_ptr<WidgetMirror> pageMirror;
    std::unique_ptr<WidgetMirror> diaryMirror;
};

void SendClick(QWidget* widget)
{
    const QPointF centre = QRectF(widget->rect()).center();
    for (const auto& [type, buttons] :
         {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
          std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons()}}) {
        QMouseEvent event(type, centre, widget->mapToGlobal(centre), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

// Calls `open`, which runs a modal dialog; returns the time from the call to
// the dialog's first paint and ends the dialog there, after `painted` has
// seen it.
double TimeToModalPaint(const std::function<void()>& open,
                        const std::function<void(const QDialog&)>& painted = {})
{
    QElapsedTimer clock;
    double seconds = 0;
    QTimer poll;
    std::unique_ptr<FirstPaint> paint;
    QPointer<QDialog> dialog;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (dialog.isNull()) {
            dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog.isNull()) {
                paint = std::make_unique<FirstPaint>();
                dialog->installEventFilter(paint.get());
            }
        }
        if (paint != nullptr && paint->painted) {
            seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            poll.stop();
            dialog->removeEventFilter(paint.get());
            if (painted) {
                painted(*dialog);
            }
            dialog->reject();
        }
    });
    poll.start(0);
    clock.start();
    open();
    return seconds;
}

QList<QWidget*> CategoryButtons(QWidget& page)
{
    QList<QRadioButton*> radios = page.findChildren<QRadioButton*>();
    SendClick(radios[0]->x() > radios[1]->x() ? radios[0] : radios[1]);
    QList<QWidget*> buttons;
    for (QWidget* child : page.findChildren<QWidget*>()) {
        if (qstrcmp(child->metaObject()->className(), "CIconButton") == 0) {
            buttons.append(child);
        }
    }
    std::sort(buttons.begin(), buttons.end(), [](const QWidget* a, const QWidget* b) {
        const QPoint pa = a->mapToGlobal(QPoint());
        const QPoint pb = b->mapToGlobal(QPoint());
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return buttons;
}

const Counts& CountWidgets()
{
    static const Counts counts = [] {
        Counts result;
        std::unique_ptr<QWidget> window = NewWindow();
        iAntivirusMonitor* page = GetInterface()();
        page->setParentWidget(window.get());
        page->initUi();
        ShowUntilPainted(*window, *page);
        result.page = static_cast<int>(page->findChildren<QWidget*>().size());
        result.sheet = page->styleSheet();
        result.pageGeometry = page->geometry();
        result.pageMirror = std::make_unique<WidgetMirror>(*page);
        const QList<QWidget*> buttons = CategoryButtons(*page);
        TimeToModalPaint([&] { SendClick(buttons.first()); },
                         [&](const QDialog& dialog) {
                             result.diary =
                                 static_cast<int>(dialog.findChildren<QWidget*>().size());
                             result.diarySize = dialog.size();
                             result.diaryMirror = std::make_unique<WidgetMirror>(dialog);
                         });
        Discard(window);
        return result;
    }();
    return counts;
}

// Mean first frames of the page and the diary in this run, for the ratios
// the styled references report.
double g_pageMs = 0;
double g_diaryMs = 0;

double MeanMs(double seconds, const benchmark::State& state)
{
    return state.iterations() == 0 ? 0 : seconds * 1000 / static_cast<double>(state.iterations());
}

// Builds a page with `build` in a new window; returns the seconds from the
// call to the page's first paint. The window is discarded after that.
double PageFirstFrameSeconds(const std::function<QWidget*(QWidget*)>& build)
{
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QWidget> window = NewWindow();
    QWidget* page = build(window.get());
    ShowUntilPainted(*window, *page);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    Discard(window);
    return seconds;
}

// The first frame of the page that `build` makes; returns its mean in
// milliseconds.
double PageFirstFrame(benchmark::State& state, const std::function<QWidget*(QWidget*)>& build)
{
    double seconds = 0;
    for (auto _ : state) {
        const double iteration = PageFirstFrameSeconds(build);
        seconds += iteration;
        state.SetIterationTime(iteration);
    }
    return MeanMs(seconds, state);
}

QWidget* MonitorPage(QWidget* window)
{
    iAntivirusMonitor* page = GetInterface()();
    page->setParentWidget(window);
    page->initUi();
    return page;
}

// The page's copy in plain Qt widgets under the page's style sheet.
QWidget* MirrorPage(QWidget* window)
{
    const Counts& counts = CountWidgets();
    QWidget* page = PlainPage(window, 0, counts.sheet);
    page->setGeometry(counts.pageGeometry);
    counts.pageMirror->build(page);
    return page;
}

void BM_PageFirstFrame(benchmark::State& state)
{
    state.counters["widgets"] = CountWidgets().page;
    g_pageMs = PageFirstFrame(state, MonitorPage);
}
BENCHMARK(BM_PageFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// A plain page with as many labels as the page has widgets, and the style
// sheet `sheet`.
double PlainPageFirstFrame(benchmark::State& state, const QString& sheet)
{
    const int labels = CountWidgets().page;
    state.counters["widgets"] = labels;
    return PageFirstFrame(state, [&](QWidget* window) { return PlainPage(window, labels, sheet); });
}

void BM_PlainPageFirstFrame(benchmark::State& state)
{
    PlainPageFirstFrame(state, QString());
}
BENCHMARK(BM_PlainPageFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The plain page with the page's style sheet; `labels_ratio` is the page's
// first frame in this run over this one's.
void BM_StyledPlainPageFirstFrame(benchmark::State& state)
{
    const double ms = PlainPageFirstFrame(state, CountWidgets().sheet);
    if (g_pageMs > 0 && ms > 0) {
        state.counters["labels_ratio"] = g_pageMs / ms;
    }
}
BENCHMARK(BM_StyledPlainPageFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The page and its copy in plain Qt widgets, built in turn so that a change
// of the machine's speed meets both alike. The time is the copy's;
// `page_ms` is the page's and `page_ratio` the page's over the copy's.
void BM_MirrorPageFirstFrame(benchmark::State& state)
{
    state.counters["widgets"] = CountWidgets().pageMirror->size();
    double page = 0;
    double mirror = 0;
    for (auto _ : state) {
        page += PageFirstFrameSeconds(MonitorPage);
        const double copy = PageFirstFrameSeconds(MirrorPage);
        mirror += copy;
        state.SetIterationTime(copy);
    }
    state.counters["page_ms"] = MeanMs(page, state);
    if (mirror > 0) {
        state.counters["page_ratio"] = page / mirror;
    }
}
BENCHMARK(BM_MirrorPageFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The monitor page in a shown window, with its category buttons; a click on
// the first opens the program-start diary.
struct ShownPage
{
    ShownPage() : window(NewWindow())
    {
        QWidget* page = MonitorPage(window.get());
        ShowUntilPainted(*window, *page);
        buttons = CategoryButtons(*page);
    }
    ~ShownPage() { Discard(window); }
    ShownPage(const ShownPage&) = delete;
    ShownPage& operator=(const ShownPage&) = delete;

    double diaryFirstFrameSeconds() const
    {
        return TimeToModalPaint([this] { SendClick(buttons.first()); });
    }

    std::unique_ptr<QWidget> window;
    QList<QWidget*> buttons;
};

void BM_DiaryFirstFrame(benchmark::State& state)
{
    state.counters["widgets"] = CountWidgets().diary;
    const ShownPage shown;
    double seconds = 0;
    for (auto _ : state) {
        const double iteration = shown.diaryFirstFrameSeconds();
        seconds += iteration;
        state.SetIterationTime(iteration);
    }
    g_diaryMs = MeanMs(seconds, state);
}
BENCHMARK(BM_DiaryFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The seconds from the call to the first paint of a dialog that `fill`
// fills, over `page`, as the diary is over the monitor page.
double DialogFirstFrameSeconds(QWidget* page, QSize size, const std::function<void(QDialog&)>& fill)
{
    return TimeToModalPaint([&] {
        QDialog dialog(page, Qt::FramelessWindowHint);
        dialog.resize(size);
        fill(dialog);
        dialog.exec();
    });
}

// A plain dialog with as many labels as the diary has widgets, over a plain
// page with the style sheet `sheet`. Returns the mean first frame in
// milliseconds.
double PlainDialogFirstFrame(benchmark::State& state, const QString& sheet)
{
    const int labels = CountWidgets().diary;
    state.counters["widgets"] = labels;
    std::unique_ptr<QWidget> window = NewWindow();
    QWidget* page = PlainPage(window.get(), 0, sheet);
    window->show();
    const auto fill = [labels](QDialog& dialog) {
        for (int i = 0; i < labels; ++i) {
            auto* label = new QLabel(QString("label %1").arg(i), &dialog);
            label->move(10 + (i % 4) * 110, 10 + (i / 4) * 20);
        }
    };
    double seconds = 0;
    for (auto _ : state) {
        const double iteration = DialogFirstFrameSeconds(page, QSize(460, 400), fill);
        seconds += iteration;
        state.SetIterationTime(iteration);
    }
    Discard(window);
    return MeanMs(seconds, state);
}

void BM_PlainDialogFirstFrame(benchmark::State& state)
{
    PlainDialogFirstFrame(state, QString());
}
BENCHMARK(BM_PlainDialogFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The plain dialog under the page's style sheet; `labels_ratio` is the
// diary's first frame in this run over this one's.
void BM_StyledPlainDialogFirstFrame(benchmark::State& state)
{
    const double ms = PlainDialogFirstFrame(state, CountWidgets().sheet);
    if (g_diaryMs > 0 && ms > 0) {
        state.counters["labels_ratio"] = g_diaryMs / ms;
    }
}
BENCHMARK(BM_StyledPlainDialogFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// The diary and its copy in plain Qt widgets (its table a QTableWidget with
// the same cells) over a plain page with the page's style sheet, opened in
// turn. The time is the copy's; `diary_ms` is the diary's and `diary_ratio`
// the diary's over the copy's.
void BM_MirrorDialogFirstFrame(benchmark::State& state)
{
    const Counts& counts = CountWidgets();
    state.counters["widgets"] = counts.diaryMirror->size();
    const ShownPage shown;
    std::unique_ptr<QWidget> window = NewWindow();
    QWidget* page = PlainPage(window.get(), 0, counts.sheet);
    window->show();
    const auto fill = [&counts](QDialog& dialog) { counts.diaryMirror->build(&dialog); };
    double diary = 0;
    double mirror = 0;
    for (auto _ : state) {
        diary += shown.diaryFirstFrameSeconds();
        const double copy = DialogFirstFrameSeconds(page, counts.diarySize, fill);
        mirror += copy;
        state.SetIterationTime(copy);
    }
    Discard(window);
    state.counters["diary_ms"] = MeanMs(diary, state);
    if (mirror > 0) {
        state.counters["diary_ratio"] = diary / mirror;
    }
}
BENCHMARK(BM_MirrorDialogFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (GetInterface() == nullptr) {
        std::fprintf(stderr, "MonitorPageBench: no plug-in beside the program\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
