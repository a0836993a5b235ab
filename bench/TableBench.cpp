// The custom-painted table against the model/view table of the toolkit over
// the same rows of three cells, in one run:
// - Append: 1 000 000 rows, one call per row, with the time and the heap
//   bytes the rows add (bytes_per_row) beside the bytes of the rows' texts
//   (text_bytes_per_row). The references are a table view over the standard
//   item model and over a minimal table model holding the rows as strings;
//   every view is shown, as in use. TableRecordModel is the table's record
//   model alone, without its view.
// - Paint: one frame of a 458 x 229 view scrolled to the middle, with 10 and
//   with 1 000 000 rows.
// - Wheel: one wheel step (alternately down and up, from the middle) until
//   the view has laid out and painted the new window, with 10 and with
//   1 000 000 rows.
// - SortedInsert: one new record into a sorted table of 100 000 records.
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/TableRecordModel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <array>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Row = CTableWidget::Row;

constexpr int kMillion = 1000000;
constexpr int kWidth = 458;
constexpr int kHeight = 229;
constexpr int kVisibleRows = 5;

enum Kind
{
    kTable = 0,
    kStandardModel = 1,
    kMinimalModel = 2,
    kRecordModel = 3,
};

// Row n: a time stamp, a description and a button caption, like the diary's.
// Every row's texts have the same lengths, so that the work of showing a row
// is the same for any n.
Row MakeRow(int n)
{
    char time[32];
    std::snprintf(time, sizeof time, "2020-%02d-%02d %02d:%02d:%02d", 1 + n / 2678400 % 12,
                  1 + n / 86400 % 28, n / 3600 % 24, n / 60 % 60, n % 60);
    char number[16];
    std::snprintf(number, sizeof number, " #%07d", n);
    return {time, std::string("程序启动上报基础信息") + number, "查看"};
}

const std::vector<Row>& Rows()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> made;
        made.reserve(kMillion);
        for (int n = 0; n < kMillion; ++n) {
            made.push_back(MakeRow(n));
        }
        return made;
    }();
    return rows;
}

size_t HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// A table model that holds the rows as they come and nothing else.
class MinimalModel : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : 3;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return QVariant();
        }
        return QString::fromStdString(
            m_rows[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())]);
    }
    void append(const Row& row)
    {
        const int n = rowCount();
        beginInsertRows(QModelIndex(), n, n);
        m_rows.push_back({row[0], row[1], row[2]});
        endInsertRows();
    }

private:
    std::vector<std::array<std::string, 3>> m_rows;
};

// One table of each kind, shown, with an append operation.
class Subject
{
public:
    explicit Subject(Kind kind) : m_kind(kind)
    {
        if (kind == kRecordModel) {
            m_records = std::make_unique<TableRecordModel>(3);
            return;
        }
        if (kind == kTable) {
            m_table = std::make_unique<CTableWidget>(kWidth, kHeight, kVisibleRows, 3);
            m_table->setButtonColumn(3, "PROGRAM_DIARY_SEE_BTN");
            m_table->setSortAfterRefresh(false);
            m_widget = m_table.get();
        } else {
            m_view = std::make_unique<QTableView>();
            m_view->resize(kWidth, kHeight);
            if (kind == kStandardModel) {
                m_standard = std::make_unique<QStandardItemModel>(0, 3);
                m_view->setModel(m_standard.get());
            } else {
                m_minimal = std::make_unique<MinimalModel>();
                m_view->setModel(m_minimal.get());
            }
            m_widget = m_view.get();
        }
        m_widget->show();
        QApplication::processEvents();
    }

    ~Subject()
    {
        m_table.reset();
        m_view.reset();
        m_standard.reset();
        m_minimal.reset();
        m_records.reset();
    }

    void append(const Row& row)
    {
        switch (m_kind) {
        case kTable:
            m_table->appendRow(row);
            break;
        case kStandardModel:
            m_standard->appendRow({new QStandardItem(QString::fromStdString(row[0])),
                                   new QStandardItem(QString::fromStdString(row[1])),
                                   new QStandardItem(QString::fromStdString(row[2]))});
            break;
        case kMinimalModel:
            m_minimal->append(row);
            break;
        case kRecordModel:
            m_records->append(row);
            break;
        }
    }

    void fill(int count)
    {
        for (int n = 0; n < count; ++n) {
            append(Rows()[static_cast<size_t>(n)]);
        }
        QApplication::processEvents();
    }

    void scrollToMiddle()
    {
        if (m_kind == kTable) {
            const QRect handle = m_table->scrollHandle();
            const QPoint grab = handle.center();
            const QPoint to(grab.x(),
                            (handle.y() + kHeight - handle.height()) / 2 + handle.height() / 2);
            sendMouse(QEvent::MouseButtonPress, grab, Qt::LeftButton);
            sendMouse(QEvent::MouseMove, to, Qt::LeftButton);
            sendMouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        } else {
            QScrollBar* bar = m_view->verticalScrollBar();
            bar->setValue((bar->minimum() + bar->maximum()) / 2);
        }
        QApplication::processEvents();
    }

    void paint(QImage& image)
    {
        QPainter painter(&image);
        m_widget->render(&painter);
    }

    void wheel(int delta)
    {
        QWidget* target = m_kind == kTable ? m_widget : m_view->viewport();
        const QPointF pos(100, 100);
        QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        // The step is complete when the new window is laid out and painted.
        QApplication::processEvents();
    }

    int firstVisibleRow() const
    {
        return m_kind == kTable ? m_table->firstVisibleRow() : m_view->rowAt(0);
    }

private:
    void sendMouse(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, pos, m_widget->mapToGlobal(pos), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(m_widget, &event);
    }

    Kind m_kind;
    QWidget* m_widget = nullptr;
    std::unique_ptr<CTableWidget> m_table;
    std::unique_ptr<QTableView> m_view;
    std::unique_ptr<QStandardItemModel> m_standard;
    std::unique_ptr<MinimalModel> m_minimal;
    std::unique_ptr<TableRecordModel> m_records;
};

const char* KindName(int kind)
{
    static const char* const names[] = {"CTableWidget", "QStandardItemModel", "MinimalModel",
                                        "TableRecordModel"};
    return names[kind];
}

void BM_Append(benchmark::State& state)
{
    const Kind kind = static_cast<Kind>(state.range(0));
    const std::vector<Row>& rows = Rows();
    state.SetLabel(KindName(kind));
    size_t textBytes = 0;
    for (const Row& row : rows) {
        textBytes += row[0].size() + row[1].size() + row[2].size();
    }
    for (auto _ : state) {
        // Every repetition starts from a heap without the previous one's
        // freed records, so that no kind pays for another's frees.
        malloc_trim(0);
        Subject subject(kind);
        const size_t before = HeapInUse();
        const auto start = std::chrono::steady_clock::now();
        for (const Row& row : rows) {
            subject.append(row);
        }
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        state.counters["bytes_per_row"] =
            static_cast<double>(HeapInUse() - before) / static_cast<double>(rows.size());
    }
    state.counters["text_bytes_per_row"] =
        static_cast<double>(textBytes) / static_cast<double>(rows.size());
    state.counters["ns_per_row"] = benchmark::Counter(
        static_cast<double>(rows.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Paint(benchmark::State& state)
{
    const Kind kind = static_cast<Kind>(state.range(0));
    state.SetLabel(KindName(kind));
    Subject subject(kind);
    subject.fill(static_cast<int>(state.range(1)));
    subject.scrollToMiddle();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        subject.paint(image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["first_row"] = subject.firstVisibleRow();
}

void BM_Wheel(benchmark::State& state)
{
    const Kind kind = static_cast<Kind>(state.range(0));
    state.SetLabel(KindName(kind));
    Subject subject(kind);
    subject.fill(static_cast<int>(state.range(1)));
    subject.scrollToMiddle();
    int delta = -120;
    for (auto _ : state) {
        subject.wheel(delta);
        delta = -delta;
    }
    state.counters["first_row"] = subject.firstVisibleRow();
}

void BM_SortedInsert(benchmark::State& state)
{
    CTableWidget table(kWidth, kHeight, kVisibleRows, 3);
    table.show();
    for (int n = 0; n < 100000; ++n) {
        table.appendRow(Rows()[static_cast<size_t>(n)]);
    }
    table.slot_sort(0, true);
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(0, kMillion - 1);
    for (auto _ : state) {
        table.appendRow(Rows()[static_cast<size_t>(pick(random))]);
    }
    state.counters["records"] = table.rowCount();
}

// A change of the date filter on 100,000 sorted records over 60 days, as the
// diary's time filter makes it: the previous filter's records return, then
// the new one hides its own. The filters alternate between a week and all.
void BM_DateFilter(benchmark::State& state)
{
    TableRecordModel model(3);
    std::vector<TableRecordModel::Row> rows;
    rows.reserve(100000);
    const QDate firstDay(2020, 9, 1);
    for (int n = 0; n < 100000; ++n) {
        const QDate day = firstDay.addDays(n % 60);
        rows.push_back({day.toString("yyyy-MM-dd").toStdString() + " 12:00:00",
                        "row " + std::to_string(n), "view"});
    }
    model.setSorted(true);
    model.appendRows(rows);
    const QDate lastDay = firstDay.addDays(59);
    bool week = true;
    for (auto _ : state) {
        if (week) {
            model.filterByDate(0, lastDay.addDays(-6), lastDay);
        } else {
            model.filterByDate(0, QDate(), QDate());
        }
        week = !week;
    }
    state.counters["records"] = model.rowCount() + model.hiddenCount();
}

void AllKinds(benchmark::internal::Benchmark* b)
{
    for (const int kind : {kTable, kStandardModel, kMinimalModel}) {
        for (const int rows : {10, kMillion}) {
            b->Args({kind, rows});
        }
    }
}

} // namespace

BENCHMARK(BM_Append)
    ->Arg(kTable)
    ->Arg(kStandardModel)
    ->Arg(kMinimalModel)
    ->Arg(kRecordModel)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint)->Apply(AllKinds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Wheel)->Apply(AllKinds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SortedInsert)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DateFilter)->Unit(benchmark::kMillisecond);

// The application lives in main's frame: as a function's static it would be
// destroyed by the exit handlers after the toolkit's own statics, and the
// input devices it owns would unregister from a list already gone.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
