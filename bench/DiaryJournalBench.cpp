// The scan diary over a journal of 100,000 scan records, against a table
// view over Qt's SQL query model on the same database file, in the same run:
//
// - BM_SqlTableOnJournal: a dialog of the diary's size with a QTableView over
//   a QSqlQueryModel selecting the category newest first: time to its first
//   painted frame, to all rows fetched (fetchMore until canFetchMore is
//   false), and the memory the dialog holds then;
// - BM_DiaryOnJournal: CProgramDiaryDialog::create + show with the log module
//   loaded on the journal, as the page's category click makes it: time to
//   its first painted frame, to the last record in the table, and its memory;
//   the first frame also as a ratio to the reference's, when it ran first;
// - BM_DiaryFilterChange: the time filter of a diary holding the 100,000
//   records, each entry from "今天" to "最近一个月" activated and then "全部".
//
// Both dialogs stand over a page with the page's own style sheet, and the
// log is set up as the page sets it up, so each record the diary receives
// writes its line. Memory is the growth of the resident set (freed heap is
// handed back to the system before each measure) and of the heap in use on
// the GUI thread (mallinfo2 of the main arena).

#include "base/Library.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoQssPool.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/CLoadStyle.h"
#include "base_ui/utils/CommonUtils.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "KoLogModule.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;
constexpr std::int32_t kCategory = RecordCategory::kExecuteScan;
// One scan a minute: about 69 days, so every filter entry selects a part.
constexpr std::int64_t kRecordSpacingMs = 60 * 1000;
constexpr std::uint32_t kSeedBatch = 10000;
constexpr qint64 kWaitLimitMs = 120000;

// The journal file, seeded once per run through the module's batch append.
class SeededJournal
{
public:
    SeededJournal() : m_path(m_directory.filePath("journal.db"))
    {
        setenv("KO_REPORT_JOURNAL", m_path.toLocal8Bit().constData(), 1);
        m_ok = Seed();
    }

    bool ok() const { return m_ok; }
    const QString& path() const { return m_path; }

private:
    using Create = std::int32_t (*)(const KoInterfaceId*, KoLogModule**);
    using Destroy = std::int32_t (*)(KoLogModule*);

    struct Record
    {
        std::array<std::u16string, KO_REPORT_EXECUTE_SCAN_FIELDS> texts;
        std::array<const KoReportChar*, KO_REPORT_EXECUTE_SCAN_FIELDS> fields{};
        KoReportRecord record{};
    };

    static void Fill(Record& out, std::int64_t index, std::int64_t newest)
    {
        static const std::u16string kinds[] = {u"快速扫描", u"全盘扫描", u"自定义扫描"};
        const std::int64_t files = 8000 + (index * 7919) % 250000;
        const std::int64_t threats = index % 97 == 0 ? 1 + index % 3 : 0;
        const std::string result =
            "扫描文件 " + std::to_string(files) + " 个，" +
            (threats == 0 ? std::string("未发现威胁")
                          : "发现威胁 " + std::to_string(threats) + " 个，已隔离");
        out.texts[KO_REPORT_FIELD_SCAN_KIND] = kinds[index % 3];
        out.texts[KO_REPORT_FIELD_SCAN_RESULT] = QString::fromStdString(result).toStdU16String();
        for (std::size_t k = 0; k < out.texts.size(); ++k) {
            out.fields[k] = reinterpret_cast<const KoReportChar*>(out.texts[k].c_str());
        }
        out.record.size = sizeof(KoReportRecord);
        out.record.category = kCategory;
        out.record.time = newest - index * kRecordSpacingMs;
        out.record.fieldCount = KO_REPORT_EXECUTE_SCAN_FIELDS;
        out.record.fields = out.fields.data();
    }

    static bool Seed()
    {
        KO::Library library(CLogModuleLib::kModulePath);
        if (!library.Load()) {
            return false;
        }
        const auto create = reinterpret_cast<Create>(library.Resolve("CreateDllObject"));
        const auto destroy = reinterpret_cast<Destroy>(library.Resolve("DestroyDllObject"));
        const KoInterfaceId id = KO_LOG_MODULE_INTERFACE_ID;
        KoLogModule* module = nullptr;
        if (create == nullptr || destroy == nullptr || create(&id, &module) != 0) {
            return false;
        }
        const auto append = reinterpret_cast<KoReportAppendBatchFunction>(
            module->table[KO_REPORT_ENTRY_APPEND_BATCH]);
        const std::int64_t newest = QDateTime::currentMSecsSinceEpoch() - 1000;
        std::vector<Record> records(kSeedBatch);
        std::vector<const KoReportRecord*> batch(kSeedBatch);
        bool appended = true;
        for (std::int64_t first = 0; appended && first < kRecords; first += kSeedBatch) {
            for (std::uint32_t k = 0; k < kSeedBatch; ++k) {
                Fill(records[k], first + k, newest);
                batch[k] = &records[k].record;
            }
            appended = append(module, batch.data(), kSeedBatch) == KO_REPORT_OK;
        }
        destroy(module);
        return appended;
    }

    QTemporaryDir m_directory;
    QString m_path;
    bool m_ok = false;
};

const SeededJournal& Journal()
{
    static const SeededJournal journal;
    return journal;
}

// The page's style sheet: its own sheet and the substituted base sheet.
QString PageSheet()
{
    static const QString sheet = [] {
        CKoStringPool::LoadXml(":/xml/AMtext.xml");
        CKoStringPool::LoadXml(":/base_ui_xml/base_ui_text.xml");
        CKoPixmapPool::LoadXml(":/xml/AMImage.xml");
        CKoPixmapPool::LoadXml(":/base_ui_xml/base_ui_pixmap.xml");
        QString baseSheet;
        CLoadStyle::loadStyleSheet(":/base_ui_xml/base_ui_style.xml", ":/base_ui_xml/base_ui.css",
                                   baseSheet);
        CKoQssPool::LoadQss(":/xml/AMstyle.css");
        return QString::fromStdString(CKoQssPool::Get().Text()) + baseSheet;
    }();
    return sheet;
}

// The host's window with the page's place and style sheet, shown.
struct PageWindow
{
    PageWindow()
    {
        window.resize(874, 474);
        page = new QWidget(&window);
        page->setStyleSheet(PageSheet());
        page->setGeometry(12, 62, 850, 400);
        window.show();
        QApplication::processEvents();
    }

    QWidget window;
    QWidget* page = nullptr;
};

struct Memory
{
    long residentKb = 0;
    std::size_t heapBytes = 0;

    static Memory Now()
    {
        Memory memory;
        std::ifstream statm("/proc/self/statm");
        long pages = 0;
        long resident = 0;
        statm >> pages >> resident;
        memory.residentKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
        memory.heapBytes = mallinfo2().uordblks;
        return memory;
    }

    // Hands freed heap back first, so that growth is what is held.
    static Memory Trimmed()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        malloc_trim(0);
        return Now();
    }
};

double Ms(const QElapsedTimer& clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The end of a dialog's first frame: the time once its window has handled
// the first expose or update request in which the dialog painted, before
// anything else the event loop would run after it in the same turn.
class FirstFrame : public QObject
{
public:
    FirstFrame(const QElapsedTimer& clock, std::function<int()> rows)
        : m_clock(clock), m_rows(std::move(rows))
    {}

    bool done() const { return m_done; }
    double ms() const { return m_ms; }
    // The rows the dialog held then.
    int rows() const { return m_rowsThen; }

    // Watches `dialog`, shown, and its window.
    void watch(QDialog& dialog)
    {
        dialog.installEventFilter(this);
        dialog.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_done) {
            return false;
        }
        if (event->type() == QEvent::Paint) {
            m_painted = true;
            return false;
        }
        if (event->type() != QEvent::Expose && event->type() != QEvent::UpdateRequest) {
            return false;
        }
        watched->event(event);
        if (m_painted) {
            m_ms = Ms(m_clock);
            m_rowsThen = m_rows();
            m_done = true;
        }
        return true;
    }

private:
    const QElapsedTimer& m_clock;
    const std::function<int()> m_rows;
    int m_rowsThen = 0;
    bool m_painted = false;
    bool m_done = false;
    double m_ms = 0;
};

// Processes events until `done` holds; false after kWaitLimitMs.
template <typename Predicate>
bool ProcessUntil(Predicate done)
{
    QElapsedTimer limit;
    limit.start();
    while (!done()) {
        if (limit.elapsed() > kWaitLimitMs) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// What one dialog measured.
struct Opened
{
    double firstFrameMs = 0;
    double allRowsMs = 0;
    double residentMb = 0;
    double heapMb = 0;
    int rows = 0;
    // Rows in the table when the first frame was painted.
    int rowsAtFirstFrame = 0;
};

// Sums of the iterations, reported as means.
struct Totals
{
    Opened sum;
    int count = 0;

    void add(const Opened& opened)
    {
        sum.firstFrameMs += opened.firstFrameMs;
        sum.allRowsMs += opened.allRowsMs;
        sum.residentMb += opened.residentMb;
        sum.heapMb += opened.heapMb;
        sum.rows = opened.rows;
        sum.rowsAtFirstFrame += opened.rowsAtFirstFrame;
        ++count;
    }

    double meanFirstFrameMs() const { return count == 0 ? 0 : sum.firstFrameMs / count; }

    void report(benchmark::State& state) const
    {
        const double n = count == 0 ? 1 : count;
        state.counters["first_frame_ms"] = sum.firstFrameMs / n;
        state.counters["all_rows_ms"] = sum.allRowsMs / n;
        state.counters["rss_mb"] = sum.residentMb / n;
        state.counters["heap_mb"] = sum.heapMb / n;
        state.counters["rows"] = sum.rows;
        state.counters["rows_at_first_frame"] = sum.rowsAtFirstFrame / n;
    }
};

// Shows the dialog that `make` makes after the clock started, and waits for
// its first frame and then for `fill` to have put kRecords rows into it;
// `shown` counts the rows it holds.
template <typename Make, typename Shown, typename Fill>
Opened Open(Make make, Shown shown, Fill fill)
{
    const Memory before = Memory::Trimmed();
    Opened opened;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QDialog> dialog = make();
    FirstFrame frame(clock, [&] { return shown(*dialog); });
    dialog->show();
    frame.watch(*dialog);
    ProcessUntil([&] { return frame.done(); });
    opened.firstFrameMs = frame.ms();
    opened.rowsAtFirstFrame = frame.rows();
    ProcessUntil([&] {
        fill(*dialog);
        return shown(*dialog) >= kRecords;
    });
    opened.allRowsMs = Ms(clock);
    opened.rows = shown(*dialog);
    const Memory after = Memory::Trimmed();
    opened.residentMb = static_cast<double>(after.residentKb - before.residentKb) / 1024.0;
    opened.heapMb =
        (static_cast<double>(after.heapBytes) - static_cast<double>(before.heapBytes)) / 1048576.0;
    return opened;
}

double g_referenceFirstFrameMs = 0;

std::unique_ptr<QDialog> SqlTableDialog(QWidget* parent, const QString& connection)
{
    auto dialog = std::make_unique<QDialog>(parent, Qt::FramelessWindowHint);
    dialog->resize(460, 400);
    auto* view = new QTableView(dialog.get());
    view->setGeometry(1, 120, 458, 229);
    auto* model = new QSqlQueryModel(view);
    QSqlQuery query(QSqlDatabase::database(connection));
    query.prepare(
        "SELECT time, fields FROM records WHERE category = ? ORDER BY time DESC, id DESC");
    query.addBindValue(kCategory);
    query.exec();
    model->setQuery(std::move(query));
    view->setModel(model);
    return dialog;
}

QSqlQueryModel& SqlModel(QDialog& dialog)
{
    return *qobject_cast<QSqlQueryModel*>(dialog.findChild<QTableView*>()->model());
}

int SqlRows(QDialog& dialog)
{
    return SqlModel(dialog).rowCount();
}

// Fetches every row of the query, as a view does when scrolled to the end.
void FetchAll(QDialog& dialog)
{
    QSqlQueryModel& model = SqlModel(dialog);
    while (model.canFetchMore()) {
        model.fetchMore();
    }
}

void BM_SqlTableOnJournal(benchmark::State& state)
{
    const QString connection = "reference";
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", connection);
        database.setConnectOptions("QSQLITE_OPEN_READONLY");
        database.setDatabaseName(Journal().path());
        if (!database.open()) {
            state.SkipWithError("the journal does not open through Qt SQL");
            return;
        }
    }
    PageWindow host;
    // Once untimed: the first dialog of the process pays for fonts, the
    // style sheet's first use and the database's first reads.
    Open([&] { return SqlTableDialog(host.page, connection); }, &SqlRows, &FetchAll);
    Totals totals;
    for (auto _ : state) {
        const Opened opened =
            Open([&] { return SqlTableDialog(host.page, connection); }, &SqlRows, &FetchAll);
        totals.add(opened);
        state.SetIterationTime(opened.firstFrameMs / 1000.0);
    }
    totals.report(state);
    g_referenceFirstFrameMs = totals.meanFirstFrameMs();
    QSqlDatabase::database(connection).close();
    QSqlDatabase::removeDatabase(connection);
}
BENCHMARK(BM_SqlTableOnJournal)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int DiaryRows(QDialog& dialog)
{
    return dialog.findChild<CTableWidget*>()->rowCount();
}

std::unique_ptr<QDialog> Diary(QWidget* parent)
{
    return std::unique_ptr<QDialog>(CProgramDiaryDialog::create(kCategory, parent));
}

void BM_DiaryOnJournal(benchmark::State& state)
{
    PageWindow host;
    // Once untimed, as for the reference.
    Open([&] { return Diary(host.page); }, &DiaryRows, [](QDialog&) {});
    Totals totals;
    for (auto _ : state) {
        const Opened opened = Open([&] { return Diary(host.page); }, &DiaryRows, [](QDialog&) {});
        totals.add(opened);
        state.SetIterationTime(opened.firstFrameMs / 1000.0);
    }
    totals.report(state);
    if (g_referenceFirstFrameMs > 0) {
        state.counters["vs_reference"] = totals.meanFirstFrameMs() / g_referenceFirstFrameMs;
    }
}
BENCHMARK(BM_DiaryOnJournal)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DiaryFilterChange(benchmark::State& state)
{
    PageWindow host;
    const std::unique_ptr<QDialog> diary = Diary(host.page);
    diary->show();
    ProcessUntil([&] { return DiaryRows(*diary) >= kRecords; });
    auto* filter = diary->findChild<QComboBox*>();
    auto* table = diary->findChild<CTableWidget*>();
    double slowestMs = 0;
    double sumMs = 0;
    int changes = 0;
    for (auto _ : state) {
        for (const int entry :
             {CProgramDiaryDialog::FilterToday, CProgramDiaryDialog::FilterThreeDays,
              CProgramDiaryDialog::FilterWeek, CProgramDiaryDialog::FilterMonth,
              CProgramDiaryDialog::FilterAll}) {
            QElapsedTimer clock;
            clock.start();
            filter->setCurrentIndex(entry);
            emit filter->activated(entry);
            QApplication::sendPostedEvents();
            table->repaint();
            const double ms = Ms(clock);
            slowestMs = std::max(slowestMs, ms);
            sumMs += ms;
            ++changes;
        }
    }
    state.SetIterationTime(sumMs / 1000.0);
    state.counters["mean_change_ms"] = sumMs / std::max(changes, 1);
    state.counters["slowest_change_ms"] = slowestMs;
    state.counters["rows"] = DiaryRows(*diary);
}
BENCHMARK(BM_DiaryFilterChange)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    CommonUtils::Init_Log("./log/DiaryJournalBench");
    if (!Journal().ok()) {
        std::fprintf(stderr, "DiaryJournalBench: the log module beside the program seeds no "
                             "journal\n");
        return 1;
    }
    CLogModuleLib loader;
    if (!loader.LoadSdk()) {
        std::fprintf(stderr, "DiaryJournalBench: the log module does not load\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
