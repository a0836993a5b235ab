// The diary dialog of each category with the bundle's texts, images and page
// style sheet, and no log module: layout, columns, sample rows, the view
// button and its detail box, the time filter and its date dialog, the
// buttons, dragging, painting, and the refusal of an unknown category.

#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/controls/PushButton.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/widget/dialog/CSelectDateDialog.h"

#include "monitor/widget/dialog/DiaryCsvTesting.h"

#include "DiaryTestSupport.h"
#include "LogCapture.h"
#include "PageResources.h"
#include "TestDirectory.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace DiaryTestSupport;

using Row = CTableWidget::Row;

const QStringList kFilterEntries = {"全部", "今天", "最近三天", "最近一周", "最近一个月", "自定义"};

// What one category's diary shows.
struct CategoryCase
{
    int category;
    QString title;
    QString explanationStart;
    int explanationLines;
    std::vector<int> columnX;
    std::vector<int> columnWidths;
    QStringList headers;
    // 0-based; -1 for none.
    int buttonColumn;
    Row row;
};

const std::string kTime = "2020-10-27 15:00:00";
const std::string kSee = "查看";

const CategoryCase kCategories[] = {
    {CProgramDiaryDialog::kProgramStart,
     "程序启动",
     "您可以在此查看程序启动时上报的信息",
     2,
     {0, 191, 377},
     {190, 185, 82},
     {"时间", "说明", "操作"},
     2,
     {kTime, "程序启动上报基础信息", kSee}},
    {CProgramDiaryDialog::kRansomwareFound,
     "发现勒索程序",
     "您可以在此查看程序上报的防御结果",
     2,
     {0, 191, 377},
     {190, 185, 82},
     {"时间", "说明", "操作"},
     2,
     {kTime, "威胁名 处理结果", kSee}},
    {CProgramDiaryDialog::kUpdatePackage,
     "下载更新包",
     "您可以在此查看下载时上报的信息",
     1,
     {0, 191, 347},
     {190, 155, 112},
     {"时间", "版本号", "更新说明"},
     2,
     {kTime, "升级说明", kSee}},
    {CProgramDiaryDialog::kHeartbeat,
     "心跳上报时间",
     "您可以在此查看所有的心跳上报信息",
     2,
     {0, 166, 242},
     {165, 75, 217},
     {"时间", "次数", "说明"},
     -1,
     {"2020-10-27", "12次", "最后活跃时间 ：2020-10-27 15:00:00"}},
    {CProgramDiaryDialog::kExecuteScan,
     "执行扫描",
     "您可以在此查看上报的扫描结果",
     2,
     {0, 161, 242, 408},
     {160, 80, 165, 51},
     {"时间", "类别", "说明", "操作"},
     3,
     {kTime, "快速扫描", "扫描上报基础信息", kSee}},
};

// Names the case in gtest's messages.
void PrintTo(const CategoryCase& c, std::ostream* out)
{
    *out << c.category;
}

const Row& SampleRow(int category)
{
    for (const CategoryCase& c : kCategories) {
        if (c.category == category) {
            return c.row;
        }
    }
    static const Row none;
    return none;
}

class ProgramDiaryDialogTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_host.setGeometry(100, 100, 700, 600);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    // A diary shown without a nested event loop.
    QPointer<CProgramDiaryDialog> Open(int category)
    {
        CProgramDiaryDialog* dialog = CProgramDiaryDialog::create(category, &m_host);
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr) {
            dialog->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        }
        return dialog;
    }

    static void ExpectSampleRows(const CTableWidget& table, const Row& row)
    {
        ASSERT_EQ(table.rowCount(), CProgramDiaryDialog::kSampleRowCount);
        for (int index = 0; index < table.rowCount(); ++index) {
            EXPECT_EQ(table.rowData(index), row) << "row " << index;
        }
    }

    QWidget m_host;
};

class ProgramDiaryDialogCategoryTest : public ProgramDiaryDialogTest,
                                       public testing::WithParamInterface<CategoryCase>
{};

TEST_P(ProgramDiaryDialogCategoryTest, LaysOutTheFrame)
{
    const CategoryCase& c = GetParam();
    const QPointer<CProgramDiaryDialog> dialog = Open(c.category);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->category(), c.category);
    EXPECT_EQ(dialog->size(), QSize(460, 400));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);

    const auto* title = dialog->findChild<QLabel*>("PROGRAM_DIARY_TITLE_LABEL");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), c.title);
    EXPECT_EQ(title->pos(), QPoint(14, 14));
    EXPECT_EQ(title->font().pixelSize(), 12) << "page style sheet";

    const auto* explanation = dialog->findChild<QLabel*>("PROGRAM_DIARY_EXPLAIN_LABEL");
    ASSERT_NE(explanation, nullptr);
    EXPECT_TRUE(explanation->text().startsWith(c.explanationStart));
    EXPECT_EQ(explanation->text().count('\n'), c.explanationLines - 1);
    EXPECT_EQ(explanation->font().pixelSize(), 16) << "page style sheet";
    EXPECT_EQ(explanation->pos(), QPoint(20, 40 + (80 - explanation->height()) / 2));
    EXPECT_GT(explanation->height(), (c.explanationLines - 1) * 16);

    struct ButtonCase
    {
        const char* name;
        QRect geometry;
        QString text;
    };
    const ButtonCase buttons[] = {
        {"ProgramDiaryDialogClose", QRect(368, 361, 70, 30), "关闭"},
        {"ProgramDiaryDialogClear", QRect(278, 361, 70, 30), "清空"},
        {"ProgramDiaryDialogTitleClose", QRect(429, 7, 24, 24), ""},
    };
    for (const ButtonCase& b : buttons) {
        const auto* button = dialog->findChild<CCommonButton*>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->geometry(), b.geometry) << b.name;
        EXPECT_EQ(button->text(), b.text) << b.name;
    }
    EXPECT_EQ(dialog->findChild<CCommonButton*>("ProgramDiaryDialogClose")->textColor(),
              QColor("#4b4773"));
    dialog->close();
}

TEST_P(ProgramDiaryDialogCategoryTest, TableHasTheCategorysColumnsAndTenSampleRows)
{
    const CategoryCase& c = GetParam();
    const QPointer<CProgramDiaryDialog> dialog = Open(c.category);
    ASSERT_TRUE(dialog);
    CTableWidget* table = Table(*dialog);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->geometry(), QRect(1, 120, 458, 229));
    EXPECT_EQ(table->rowHeight(), 38);

    const CHeader* header = table->header();
    const int columns = static_cast<int>(c.headers.size());
    ASSERT_EQ(header->columnCount(), columns);
    EXPECT_EQ(header->labels(), c.headers);
    for (int column = 0; column < columns; ++column) {
        const auto k = static_cast<std::size_t>(column);
        EXPECT_EQ(header->columnX(column), c.columnX[k]) << "column " << column;
        EXPECT_EQ(header->columnWidth(column), c.columnWidths[k]) << "column " << column;
    }
    EXPECT_EQ(header->textRect(0).x(), 20) << "header label inset";

    ExpectSampleRows(*table, c.row);
    EXPECT_TRUE(table->isScrollBarShown()) << "ten rows in five slots";
    EXPECT_EQ(table->cellText(0, 0), QString::fromStdString(c.row[0]));

    for (int column = 0; column < columns; ++column) {
        for (int slot = 0; slot < 5; ++slot) {
            auto* button = qobject_cast<PushButton*>(table->cellControl(column, slot));
            if (column != c.buttonColumn) {
                EXPECT_EQ(table->cellControl(column, slot), nullptr) << column << "/" << slot;
                continue;
            }
            ASSERT_NE(button, nullptr) << "slot " << slot;
            EXPECT_EQ(button->objectName(), "PROGRAM_DIARY_SEE_BTN");
            EXPECT_EQ(button->text(), "查看");
            EXPECT_TRUE(button->isVisible());
            EXPECT_EQ(button->palette().color(QPalette::ButtonText), QColor("#0091f7"))
                << "page style sheet";
        }
    }
    dialog->close();
}

TEST_P(ProgramDiaryDialogCategoryTest, HeaderCarriesTheTimeFilter)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(GetParam().category);
    ASSERT_TRUE(dialog);
    const CTableWidget* table = Table(*dialog);
    QComboBox* filter = TimeFilter(*dialog);
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->parentWidget(), table->header());
    EXPECT_EQ(table->headerWidget(1), filter);
    QStringList entries;
    for (int index = 0; index < filter->count(); ++index) {
        entries << filter->itemText(index);
    }
    EXPECT_EQ(entries, kFilterEntries);
    EXPECT_EQ(filter->currentIndex(), 0);
    EXPECT_GE(filter->width(), 100);
    EXPECT_GE(filter->height(), 26);
    EXPECT_GT(filter->x(), table->header()->textRect(0).x()) << "after the label";
    EXPECT_EQ(filter->y(), (table->rowHeight() - 26) / 2);
    dialog->close();
}

INSTANTIATE_TEST_SUITE_P(Categories, ProgramDiaryDialogCategoryTest, testing::ValuesIn(kCategories),
                         [](const testing::TestParamInfo<CategoryCase>& info) {
                             return std::to_string(info.param.category);
                         });

TEST_F(ProgramDiaryDialogTest, ViewButtonOpensTheDetailBoxInTheProgramStartCategoryOnly)
{
    struct Case
    {
        int category;
        bool opens;
    };
    const Case cases[] = {
        {CProgramDiaryDialog::kProgramStart, true},
        {CProgramDiaryDialog::kRansomwareFound, false},
        {CProgramDiaryDialog::kUpdatePackage, false},
        {CProgramDiaryDialog::kExecuteScan, false},
        {CProgramDiaryDialog::kHeartbeat, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.category);
        const QPointer<CProgramDiaryDialog> dialog = Open(c.category);
        ASSERT_TRUE(dialog);
        CTableWidget* table = Table(*dialog);
        // The view button of the second row; the heartbeat diary has none, so
        // its last cell is clicked.
        const int lastColumn = table->header()->columnCount() - 1;
        QWidget* button = table->cellControl(lastColumn, 1);
        EXPECT_EQ(button != nullptr, c.category != CProgramDiaryDialog::kHeartbeat);

        bool checked = false;
        bool detailBoxOpened = false;
        QPointer<QWidget> modal;
        QTimer::singleShot(0, [&] {
            checked = true;
            modal = QApplication::activeModalWidget();
            detailBoxOpened = qobject_cast<CDetailMessageBox*>(modal.data()) != nullptr;
            if (modal != nullptr) {
                modal->close();
            }
        });
        if (button != nullptr) {
            Click(button);
        } else {
            Click(table, table->cellRect(1, lastColumn).center());
        }
        ASSERT_TRUE(WaitFor([&checked] { return checked; }));

        EXPECT_EQ(detailBoxOpened, c.opens);
        EXPECT_EQ(modal.isNull(), true) << "the closed box is deleted";
        EXPECT_TRUE(dialog->findChildren<CDetailMessageBox*>().isEmpty());
        EXPECT_TRUE(dialog->isVisible());
        dialog->close();
    }
}

TEST_F(ProgramDiaryDialogTest, CustomFilterOpensOneDateDialogAtATime)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kExecuteScan);
    ASSERT_TRUE(dialog);
    QComboBox* filter = TimeFilter(*dialog);

    PickFilter(filter, CProgramDiaryDialog::FilterCustom);
    EXPECT_EQ(filter->currentText(), "自定义");
    QList<CSelectDateDialog*> dates = dialog->findChildren<CSelectDateDialog*>();
    ASSERT_EQ(dates.size(), 1);
    const QPointer<CSelectDateDialog> first = dates.first();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowModality(), Qt::WindowModal);
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(first->geometry().center(), desktop.center());

    PickFilter(filter, CProgramDiaryDialog::FilterCustom);
    ASSERT_TRUE(WaitFor([&first] { return first.isNull(); })) << "the first one is deleted";
    dates = dialog->findChildren<CSelectDateDialog*>();
    ASSERT_EQ(dates.size(), 1);
    const QPointer<CSelectDateDialog> second = dates.first();
    EXPECT_TRUE(second->isVisible());

    ClickButton(*second, "SelectDateDialogOk");
    EXPECT_TRUE(WaitFor([&second] { return second.isNull(); })) << "a closed one is deleted";
    ExpectSampleRows(*Table(*dialog), SampleRow(CProgramDiaryDialog::kExecuteScan));
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, OtherFiltersAndCancelledDatesLeaveTheRows)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kProgramStart);
    ASSERT_TRUE(dialog);
    QComboBox* filter = TimeFilter(*dialog);
    for (int index : {1, 2, 3, 4, 0}) {
        PickFilter(filter, index);
        EXPECT_EQ(filter->currentText(), kFilterEntries.at(index));
        EXPECT_TRUE(dialog->findChildren<CSelectDateDialog*>().isEmpty()) << index;
        ExpectSampleRows(*Table(*dialog), SampleRow(CProgramDiaryDialog::kProgramStart));
    }
    PickFilter(filter, CProgramDiaryDialog::FilterCustom);
    const QPointer<CSelectDateDialog> date = dialog->findChild<CSelectDateDialog*>();
    ASSERT_TRUE(date);
    ClickButton(*date, "SelectDateDialogCancel");
    EXPECT_TRUE(WaitFor([&date] { return date.isNull(); }));
    ExpectSampleRows(*Table(*dialog), SampleRow(CProgramDiaryDialog::kProgramStart));
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, BothCloseButtonsEndExecAndTheDialogIsDeleted)
{
    for (const char* name : {"ProgramDiaryDialogClose", "ProgramDiaryDialogTitleClose"}) {
        SCOPED_TRACE(name);
        const QPointer<CProgramDiaryDialog> dialog =
            CProgramDiaryDialog::create(CProgramDiaryDialog::kHeartbeat, &m_host);
        ASSERT_TRUE(dialog);
        bool clicked = false;
        QTimer::singleShot(0, [&] {
            auto* modal = qobject_cast<CProgramDiaryDialog*>(QApplication::activeModalWidget());
            if (modal != nullptr) {
                clicked = true;
                ClickButton(*modal, name);
            }
        });
        EXPECT_EQ(dialog->exec(), QDialog::Rejected);
        EXPECT_TRUE(clicked);
        EXPECT_TRUE(dialog.isNull());
        EXPECT_TRUE(m_host.findChildren<CProgramDiaryDialog*>().isEmpty());
    }
}

TEST_F(ProgramDiaryDialogTest, ClearEmptiesTheTableAndKeepsTheDialogOpen)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kUpdatePackage);
    ASSERT_TRUE(dialog);
    ClickButton(*dialog, "ProgramDiaryDialogClear");
    const CTableWidget* table = Table(*dialog);
    EXPECT_TRUE(table->isEmpty());
    EXPECT_FALSE(table->isScrollBarShown());
    EXPECT_FALSE(table->cellControl(2, 0)->isVisible()) << "no view button without rows";
    EXPECT_TRUE(dialog->isVisible());
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, ContextMenuExportsTheSampleRows)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kRansomwareFound);
    ASSERT_TRUE(dialog);
    const TestDirectory directory;
    const QString path = directory.FilePath("sample.csv");
    DiaryCsvTesting::SetSavePath(path);
    ExportByMenu(*dialog);
    const bool written = WaitFor([&] { return QFile::exists(path); });
    DiaryCsvTesting::SetSavePath(std::nullopt);
    ASSERT_TRUE(written);

    QByteArray expected("\xEF\xBB\xBF时间,说明\r\n");
    for (int copy = 0; copy < CProgramDiaryDialog::kSampleRowCount; ++copy) {
        expected += "2020-10-27 15:00:00,威胁名 处理结果\r\n";
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
    ExpectSampleRows(*Table(*dialog), SampleRow(CProgramDiaryDialog::kRansomwareFound));
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, UnknownCategoryHasNoDiary)
{
    for (int category : {0, -1, 100216, 100222, 110000}) {
        SCOPED_TRACE(category);
        const LogCapture log;
        EXPECT_EQ(CProgramDiaryDialog::create(category, &m_host), nullptr);
        EXPECT_TRUE(log.HasLine("ERROR", "no diary for category " + std::to_string(category)));
        EXPECT_TRUE(m_host.findChildren<QDialog*>().isEmpty());
    }
}

TEST_F(ProgramDiaryDialogTest, SampleRowsShowWithALoaderThatHasNoModule)
{
    const CLogModuleLib loader;
    ASSERT_EQ(CLogModuleLib::instance(), &loader);
    for (int category : {CProgramDiaryDialog::kExecuteScan, CProgramDiaryDialog::kUpdatePackage}) {
        const QPointer<CProgramDiaryDialog> dialog = Open(category);
        ASSERT_TRUE(dialog);
        ExpectSampleRows(*Table(*dialog), SampleRow(category));
        dialog->close();
    }
}

TEST_F(ProgramDiaryDialogTest, DraggingWithTheLeftButtonMovesTheDialog)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kProgramStart);
    ASSERT_TRUE(dialog);
    for (const QPoint& grip : {QPoint(200, 20), QPoint(300, 100), QPoint(100, 380)}) {
        SCOPED_TRACE(grip.y());
        const QPoint start = dialog->pos();
        QTest::mousePress(dialog.data(), Qt::LeftButton, {}, grip);
        QTest::mouseMove(dialog.data(), grip + QPoint(30, 20));
        EXPECT_EQ(dialog->pos(), start + QPoint(30, 20));
        QTest::mouseRelease(dialog.data(), Qt::LeftButton, {}, grip + QPoint(30, 20));

        QTest::mouseMove(dialog.data(), grip);
        EXPECT_EQ(dialog->pos(), start + QPoint(30, 20)) << "no move without the button";
    }
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, PaintsBandsLineAndFrame)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kHeartbeat);
    ASSERT_TRUE(dialog);
    const QImage image = dialog->grab().toImage();
    struct Case
    {
        const char* what;
        QPoint pixel;
        QColor colour;
    };
    const Case cases[] = {
        {"title band", QPoint(300, 30), QColor("#0092f5")},
        {"explanation band", QPoint(440, 110), QColor("#e3effe")},
        {"header", QPoint(440, 125), QColor("#fafbfb")},
        {"table", QPoint(200, 300), QColor("#ffffff")},
        {"line above the buttons", QPoint(200, 349), QColor("#f0f0f0")},
        {"body", QPoint(200, 380), QColor("#ffffff")},
        {"frame left", QPoint(0, 200), QColor("#0092f5")},
        {"frame right", QPoint(459, 380), QColor("#0092f5")},
        {"frame bottom", QPoint(200, 399), QColor("#0092f5")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(image.pixelColor(c.pixel), c.colour) << c.what;
    }
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, EscInTheTableEndsExecAndTheDialogIsDeleted)
{
    const QPointer<CProgramDiaryDialog> dialog =
        CProgramDiaryDialog::create(CProgramDiaryDialog::kProgramStart, &m_host);
    ASSERT_TRUE(dialog);
    bool pressed = false;
    QTimer::singleShot(0, [&] {
        auto* modal = qobject_cast<CProgramDiaryDialog*>(QApplication::activeModalWidget());
        if (modal != nullptr) {
            pressed = true;
            QTest::keyClick(Table(*modal), Qt::Key_Down);
            QTest::keyClick(Table(*modal), Qt::Key_Escape);
        }
    });
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    EXPECT_TRUE(pressed);
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(ProgramDiaryDialogTest, TabVisitsFilterTableAndButtonsInReadingOrder)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kProgramStart);
    ASSERT_TRUE(dialog);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.data()));
    TimeFilter(*dialog)->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return TimeFilter(*dialog)->hasFocus(); }));

    const std::vector<const QWidget*> expected = {
        Table(*dialog),
        dialog->findChild<CCommonButton*>("ProgramDiaryDialogClear"),
        dialog->findChild<CCommonButton*>("ProgramDiaryDialogClose"),
        dialog->findChild<CCommonButton*>("ProgramDiaryDialogTitleClose"),
        TimeFilter(*dialog),
    };
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next)
            << (QApplication::focusWidget() != nullptr
                    ? QApplication::focusWidget()->metaObject()->className()
                    : "none");
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(),
              dialog->findChild<CCommonButton*>("ProgramDiaryDialogTitleClose"));
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, EnterInTheTableOpensTheDetailBox)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kProgramStart);
    ASSERT_TRUE(dialog);
    QTest::keyClick(Table(*dialog), Qt::Key_End);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<CDetailMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            seen = true;
            QTest::keyClick(box, Qt::Key_Escape);
        }
    });
    QTest::keyClick(Table(*dialog), Qt::Key_Return);
    EXPECT_TRUE(seen);
    dialog->close();
}

TEST_F(ProgramDiaryDialogTest, ScreenReadersHearTheCategoryAndTheCornerButton)
{
    const QPointer<CProgramDiaryDialog> dialog = Open(CProgramDiaryDialog::kRansomwareFound);
    ASSERT_TRUE(dialog);
    QAccessibleInterface* const table = QAccessible::queryAccessibleInterface(Table(*dialog));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->text(QAccessible::Name), "发现勒索程序");
    EXPECT_EQ(table->tableInterface()->rowCount(), 10);
    EXPECT_EQ(table->child(1)->text(QAccessible::Name), "威胁名 处理结果");
    QAccessibleInterface* const corner = QAccessible::queryAccessibleInterface(
        dialog->findChild<CCommonButton*>("ProgramDiaryDialogTitleClose"));
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->role(), QAccessible::Button);
    EXPECT_EQ(corner->text(QAccessible::Name), "关闭");
    dialog->close();
}

} // namespace
