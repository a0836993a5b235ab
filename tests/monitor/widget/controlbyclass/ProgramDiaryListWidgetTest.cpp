// The list of the view by time with its 25 sample records: the handle size,
// the rows shown while dragging the handle (refreshed on every third move)
// and turning the wheel (5 px per event), the partial sixth row, the row
// numbers and categories, the about icon of the heartbeat rows, and painting.

#include "monitor/widget/controlbyclass/CAboutLabel.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListWidget.h"

#include "base_ui/utils/CommonUtils.h"

#include "PageResources.h"

#include <QLabel>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr int kHandleX = 693;
// List height 295 minus the 50 px handle minus one.
constexpr int kLowestHandleTop = 244;

const QString kHeartbeat = "心跳上报时间";

// What a shown row displays.
struct ShownRow
{
    int y;
    int number;
    QString type;
    const CProgramDiaryListItemWidget* row;
};

class ProgramDiaryListWidgetTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_host.resize(700, 295);
        m_list = new CProgramDiaryListWidget(&m_host);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    // The shown rows from top to bottom.
    std::vector<ShownRow> Rows() const
    {
        std::vector<ShownRow> rows;
        for (const auto* row : m_list->findChildren<CProgramDiaryListItemWidget*>()) {
            if (row->isVisibleTo(m_list)) {
                rows.push_back({row->y(), Label(*row, "PROGRAM_DIARY_LIST_LABEL_NUM").toInt(),
                                Label(*row, "PROGRAM_DIARY_LIST_LABEL_TYPE"), row});
            }
        }
        std::sort(rows.begin(), rows.end(),
                  [](const ShownRow& a, const ShownRow& b) { return a.y < b.y; });
        return rows;
    }

    std::vector<int> Numbers() const
    {
        std::vector<int> numbers;
        for (const ShownRow& row : Rows()) {
            numbers.push_back(row.number);
        }
        return numbers;
    }

    static QString Label(const QWidget& row, const char* name)
    {
        const auto* label = row.findChild<QLabel*>(name);
        return label != nullptr ? label->text() : QString();
    }

    int HandleTop() const { return static_cast<int>(m_list->handleRect().top()); }

    void Wheel(int delta)
    {
        const QPointF at(300, 100);
        QWheelEvent event(at, m_list->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_list, &event);
    }

    void Press(int y) { QTest::mousePress(m_list, Qt::LeftButton, {}, QPoint(kHandleX, y)); }
    void MoveTo(int y) { QTest::mouseMove(m_list, QPoint(kHandleX, y)); }
    void Release(int y) { QTest::mouseRelease(m_list, Qt::LeftButton, {}, QPoint(kHandleX, y)); }

    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> numbers;
        for (int n = first; n <= last; ++n) {
            numbers.push_back(n);
        }
        return numbers;
    }

    QWidget m_host;
    CProgramDiaryListWidget* m_list = nullptr;
};

TEST_F(ProgramDiaryListWidgetTest, SampleRecordsShowFiveRowsAndAMinimumHandle)
{
    EXPECT_EQ(m_list->size(), QSize(700, 295));
    EXPECT_EQ(m_list->records().size(), 25u);
    EXPECT_EQ(m_list->findChildren<CProgramDiaryListItemWidget*>().size(), 6);
    EXPECT_TRUE(m_list->isScrollBarShown());
    EXPECT_EQ(m_list->handleRect(), QRectF(688, 0, 10, 50));

    const std::vector<ShownRow> rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(rows[slot].y, 60 * slot);
        EXPECT_EQ(rows[slot].number, slot + 1);
        EXPECT_EQ(rows[slot].type, "程序启动");
    }
}

TEST_F(ProgramDiaryListWidgetTest, DraggingToTheBottomShowsTheLastRecords)
{
    Press(25);
    for (int y : {100, 200, 400}) {
        MoveTo(y);
    }
    Release(400);

    EXPECT_EQ(HandleTop(), kLowestHandleTop);
    EXPECT_DOUBLE_EQ(m_list->scrollPercent(), 100.0);
    // Content 1500 px in a 295 px list: the offset 1205 cuts 5 px off record 21.
    const std::vector<ShownRow> rows = Rows();
    EXPECT_EQ(Numbers(), Range(21, 25));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows.front().y, -5);
    EXPECT_EQ(rows.back().y, 235);
}

TEST_F(ProgramDiaryListWidgetTest, RowsFollowTheHandleOnEveryThirdMove)
{
    Press(25); // 25 px into the handle
    MoveTo(85);
    EXPECT_EQ(HandleTop(), 60) << "the handle follows every move";
    EXPECT_EQ(Numbers(), Range(1, 5));
    MoveTo(86);
    EXPECT_EQ(Numbers(), Range(1, 5));

    MoveTo(87);
    // Handle top 62 of 244: offset 1205 * 62 / 244 = 306, record 6 cut by 6 px.
    EXPECT_EQ(HandleTop(), 62);
    EXPECT_EQ(m_list->firstRecord(), 5);
    EXPECT_EQ(Numbers(), Range(6, 11));
    EXPECT_EQ(Rows().front().y, -6);
    Release(87);

    MoveTo(200);
    EXPECT_EQ(HandleTop(), 62) << "released: moves no longer drag";
}

TEST_F(ProgramDiaryListWidgetTest, PressOutsideTheHandleDoesNotDrag)
{
    for (const QPoint& press : {QPoint(kHandleX, 120), QPoint(300, 20)}) {
        QTest::mousePress(m_list, Qt::LeftButton, {}, press);
        for (int y : {150, 180, 210}) {
            QTest::mouseMove(m_list, QPoint(press.x(), y));
        }
        QTest::mouseRelease(m_list, Qt::LeftButton, {}, QPoint(press.x(), 210));
        EXPECT_EQ(HandleTop(), 0);
        EXPECT_EQ(Numbers(), Range(1, 5));
    }
}

TEST_F(ProgramDiaryListWidgetTest, WheelMovesTheHandleFivePixelsPerEvent)
{
    Wheel(120);
    EXPECT_EQ(HandleTop(), 0) << "up at the top stays at the top";
    EXPECT_EQ(Numbers(), Range(1, 5));

    Wheel(-120);
    EXPECT_EQ(HandleTop(), 5);
    Wheel(-1200);
    EXPECT_EQ(HandleTop(), 10) << "any delta is one step";
    Wheel(-1);
    EXPECT_EQ(HandleTop(), 15);
    Wheel(120);
    EXPECT_EQ(HandleTop(), 10);

    for (int step = 0; step < 60; ++step) {
        Wheel(-120);
    }
    EXPECT_EQ(HandleTop(), kLowestHandleTop);
    EXPECT_EQ(Numbers(), Range(21, 25));
    Wheel(-120);
    EXPECT_EQ(HandleTop(), kLowestHandleTop) << "down at the bottom stays at the bottom";
}

TEST_F(ProgramDiaryListWidgetTest, CutRowShowsASixthRow)
{
    Wheel(-120);
    // Handle top 5 of 244: offset 1205 * 5 / 244 = 24.
    const std::vector<ShownRow> rows = Rows();
    EXPECT_EQ(Numbers(), Range(1, 6));
    ASSERT_EQ(rows.size(), 6u);
    for (int slot = 0; slot < 6; ++slot) {
        EXPECT_EQ(rows[slot].y, 60 * slot - 24);
    }
}

TEST_F(ProgramDiaryListWidgetTest, RowsAreNumberedInInsertionOrderWithTheAboutIconOnHeartbeats)
{
    // Every record seen while the wheel walks the list from top to bottom.
    std::map<int, ShownRow> seen;
    for (int step = 0; step < 60; ++step) {
        for (const ShownRow& row : Rows()) {
            seen.emplace(row.number, row);

            const auto* about = row.row->findChild<CAboutLabel*>();
            ASSERT_NE(about, nullptr);
            EXPECT_EQ(about->isVisibleTo(row.row), row.type == kHeartbeat) << row.number;
        }
        Wheel(-120);
    }

    const QString categories[] = {"程序启动", "发现勒索程序", "下载更新包", kHeartbeat, "执行扫描"};
    ASSERT_EQ(seen.size(), 25u);
    for (int number = 1; number <= 25; ++number) {
        ASSERT_EQ(seen.count(number), 1u) << number;
        EXPECT_EQ(seen.at(number).type, categories[(number - 1) / 5]) << number;
    }
}

TEST_F(ProgramDiaryListWidgetTest, PaintsTheRoundedHandleOnWhite)
{
    QImage image = m_list->grab().toImage();
    const QColor handle("#bbe9ff");
    EXPECT_EQ(image.pixelColor(kHandleX, 25), handle);
    EXPECT_EQ(image.pixelColor(kHandleX, 100), QColor("#ffffff"));
    EXPECT_NE(image.pixelColor(688, 0), handle) << "rounded corner";

    for (int step = 0; step < 20; ++step) {
        Wheel(-120);
    }
    image = m_list->grab().toImage();
    EXPECT_EQ(image.pixelColor(kHandleX, 125), handle);
    EXPECT_EQ(image.pixelColor(kHandleX, 25), QColor("#ffffff"));
}

} // namespace
