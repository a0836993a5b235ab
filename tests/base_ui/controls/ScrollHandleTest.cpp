// The scroll handle shared by the table and the view-by-time list: height
// with its minimum, drag clamped at both ends, wheel steps and the position
// in percent, for both tracks.

#include "base_ui/controls/ScrollHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The two tracks in use: the diary table's (below a 38 px header, 229 px
// high, 8 px wide) and the view-by-time list's (295 px high, 10 px wide).
struct Track
{
    const char* name;
    int x;
    int width;
    int firstTop;
    int limit;
    int height;
    int wheelStep;
};

constexpr Track kTracks[] = {
    {"table", 448, 8, 39, 228, 11, 10},
    {"list", 688, 10, 0, 294, 50, 5},
};

class ScrollHandleTest : public testing::TestWithParam<Track>
{
protected:
    void SetUp() override
    {
        const Track& t = GetParam();
        m_handle.setTrack(t.x, t.width, t.firstTop, t.limit);
        m_handle.setHeight(t.height);
    }

    int lowest() const { return GetParam().limit - GetParam().height; }

    ScrollHandle m_handle;
};

TEST_P(ScrollHandleTest, StartsAtTheFirstTopWithItsGeometry)
{
    const Track& t = GetParam();
    EXPECT_EQ(m_handle.rect(), QRectF(t.x, t.firstTop, t.width, t.height));
    EXPECT_EQ(m_handle.lowestTop(), lowest());
    EXPECT_EQ(m_handle.percent(), 0.0);
}

TEST_P(ScrollHandleTest, DragIsClampedAtBothEnds)
{
    const Track& t = GetParam();
    const QPointF grab(t.x + 2, t.firstTop + 5);
    ASSERT_TRUE(m_handle.press(grab));
    struct Case
    {
        int y;
        int top;
    };
    const Case cases[] = {
        {t.firstTop + 25, t.firstTop + 20}, {-500, t.firstTop},       {t.firstTop + 4, t.firstTop},
        {lowest() + 5, lowest()},           {lowest() + 6, lowest()}, {5000, lowest()},
        {t.firstTop + 6, t.firstTop + 1},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(m_handle.dragTo(c.y));
        EXPECT_EQ(m_handle.top(), c.top) << c.y;
    }
    m_handle.dragTo(lowest() + 5);
    EXPECT_EQ(m_handle.percent(), 100.0);
    EXPECT_EQ(m_handle.wholePercent(), 100);
    m_handle.release();
    EXPECT_FALSE(m_handle.dragTo(t.firstTop));
    EXPECT_EQ(m_handle.top(), lowest());
}

TEST_P(ScrollHandleTest, APressOutsideTheHandleStartsNoDrag)
{
    const Track& t = GetParam();
    for (const QPointF point : {QPointF(t.x - 1, t.firstTop + 1),
                                QPointF(t.x + 1, t.firstTop + t.height + 1), QPointF(0, 0)}) {
        EXPECT_FALSE(m_handle.press(point)) << point.x() << ", " << point.y();
        EXPECT_FALSE(m_handle.isDragging());
    }
}

TEST_P(ScrollHandleTest, WheelStepsStopAtBothEnds)
{
    const Track& t = GetParam();
    m_handle.wheel(-120, t.wheelStep);
    EXPECT_EQ(m_handle.top(), t.firstTop + t.wheelStep);
    m_handle.wheel(-1, t.wheelStep); // any size of delta is one step
    EXPECT_EQ(m_handle.top(), t.firstTop + 2 * t.wheelStep);
    m_handle.wheel(960, t.wheelStep);
    EXPECT_EQ(m_handle.top(), t.firstTop + t.wheelStep);
    m_handle.wheel(0, t.wheelStep); // zero counts as away from the user
    m_handle.wheel(120, t.wheelStep);
    EXPECT_EQ(m_handle.top(), t.firstTop);
    for (int i = 0; i < 100; ++i) {
        m_handle.wheel(-120, t.wheelStep);
    }
    EXPECT_EQ(m_handle.top(), lowest());
}

TEST_P(ScrollHandleTest, PercentFollowsTheTopAndBack)
{
    const Track& t = GetParam();
    const int span = lowest() - t.firstTop;
    m_handle.moveTo(t.firstTop + span / 3);
    EXPECT_DOUBLE_EQ(m_handle.percent(), (span / 3) * 100.0 / span);
    EXPECT_EQ(m_handle.wholePercent(), (span / 3) * 100 / span);
    m_handle.moveToPercent(50);
    EXPECT_EQ(m_handle.top(), t.firstTop + span * 50 / 100);
    m_handle.moveToStart();
    EXPECT_EQ(m_handle.top(), t.firstTop);
}

TEST_P(ScrollHandleTest, HeightHasAMinimumAndKeepsTheHandleInTheTrack)
{
    const Track& t = GetParam();
    m_handle.setHeight(3, 20);
    EXPECT_EQ(m_handle.height(), 20);
    m_handle.setHeight(40, 20);
    EXPECT_EQ(m_handle.height(), 40);
    m_handle.moveTo(t.limit);
    EXPECT_EQ(m_handle.top(), t.limit - 40);
    // Growing moves the handle up, so its bottom stays on the limit.
    m_handle.setHeight(60);
    EXPECT_EQ(m_handle.top(), t.limit - 60);
    EXPECT_EQ(m_handle.rect().bottom(), t.limit);
    // Taller than the track: it stays at the first top and cannot move.
    m_handle.setHeight(t.limit + 10);
    EXPECT_EQ(m_handle.top(), t.firstTop);
    EXPECT_EQ(m_handle.percent(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Tracks, ScrollHandleTest, testing::ValuesIn(kTracks),
                         [](const testing::TestParamInfo<Track>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
