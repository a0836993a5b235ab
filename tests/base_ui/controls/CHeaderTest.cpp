// The table header: column geometry, labels and embedded controls,
// click-to-sort with its indicator, border dragging.

#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CCheckBox.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<CHeader> MakeHeader(int columns = 3)
{
    auto header = std::make_unique<CHeader>(458, 38);
    header->setColumnCount(columns);
    header->setLabels({"time", "text", "action"});
    return header;
}

TEST(CHeaderTest, ColumnsStartWithEqualWidths)
{
    const auto header = MakeHeader();
    const int xs[] = {0, 152, 304};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(header->columnX(c), xs[c]);
        EXPECT_EQ(header->columnWidth(c), 152);
        EXPECT_EQ(header->columnRect(c), QRect(xs[c], 0, 152, 38));
        EXPECT_EQ(header->textRect(c), QRect(xs[c], 0, 152, 38));
    }
    EXPECT_EQ(header->gripRect(0), QRect(151 - 8, 0, 17, 38));
    EXPECT_EQ(header->gripRect(1), QRect(303 - 8, 0, 17, 38));
    EXPECT_TRUE(header->gripRect(2).isNull());
}

TEST(CHeaderTest, WidthsSetFromTheLeftLayTheColumnsOut)
{
    const auto header = MakeHeader();
    QSignalSpy drag(header.get(), &CHeader::drag);
    header->setColumnWidth(1, 190);
    header->setColumnWidth(2, 185);
    header->setColumnWidth(3, 60);
    EXPECT_EQ(drag.count(), 3);
    EXPECT_EQ(header->columnX(0), 0);
    EXPECT_EQ(header->columnX(1), 191);
    EXPECT_EQ(header->columnX(2), 377);
    EXPECT_EQ(header->columnWidth(0), 190);
    EXPECT_EQ(header->columnWidth(1), 185);
    // The last column does not fit its 60 pixels after its unchanged right
    // edge, so it takes the rest of the header.
    EXPECT_EQ(header->columnWidth(2), 458 - 376);
}

TEST(CHeaderTest, LastColumnKeepsAWidthThatFits)
{
    const auto header = MakeHeader();
    header->setColumnWidth(3, 2); // 458 - right edge 455 leaves 3
    EXPECT_EQ(header->columnWidth(2), 2);
    EXPECT_EQ(header->columnX(2), 304);
}

TEST(CHeaderTest, WidthNeverPushesTheNextColumnBelowNothing)
{
    const auto header = MakeHeader();
    header->setColumnWidth(1, 1000);
    EXPECT_GE(header->columnWidth(1), 0);
    EXPECT_EQ(header->columnX(1) + header->columnWidth(1), 303);
}

TEST(CHeaderTest, InvalidColumnsChangeNothing)
{
    const auto header = MakeHeader();
    QSignalSpy drag(header.get(), &CHeader::drag);
    header->setColumnWidth(0, 50);
    header->setColumnWidth(4, 50);
    header->setPadding(4, 5);
    header->setPadding(1, 152); // not below the width
    EXPECT_EQ(drag.count(), 0);
    EXPECT_EQ(header->columnWidth(0), 152);
    EXPECT_EQ(header->textRect(0), QRect(0, 0, 152, 38));
}

TEST(CHeaderTest, PaddingInsetsTheLabel)
{
    const auto header = MakeHeader();
    header->setColumnWidth(1, 190);
    header->setPadding(1, 20);
    header->setPadding(2, 7);
    EXPECT_EQ(header->textRect(0), QRect(20, 0, 191 - 20, 38));
    EXPECT_EQ(header->textRect(1), QRect(191 + 7, 0, header->columnWidth(1) - 7, 38));
}

TEST(CHeaderTest, ComboBoxSitsAfterTheLabel)
{
    const auto header = MakeHeader();
    header->setPadding(1, 20);
    QComboBox* combo = header->addComboBox(0);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(header->addComboBox(0), combo);
    EXPECT_EQ(header->columnWidget(1), combo);
    EXPECT_GE(combo->minimumSize().width(), 100);
    EXPECT_GE(combo->minimumSize().height(), 26);
    const int labelWidth = QFontMetrics(header->font()).horizontalAdvance("time");
    EXPECT_EQ(combo->pos(), QPoint(20 + labelWidth + 10, (38 - 26) / 2));
    EXPECT_EQ(header->addComboBox(3), nullptr);
}

// A combo box of a header not yet shown stays unpolished until the header
// shows, so that its owner's style sheet is applied once; a visible header
// shows its new combo box at once.
TEST(CHeaderTest, ComboBoxShowsWithItsHeader)
{
    const auto hidden = MakeHeader();
    QComboBox* later = hidden->addComboBox(0);
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(later->testAttribute(Qt::WA_WState_Polished));
    later->setStyleSheet("QComboBox { border: 1px solid #d2d3de; }");
    EXPECT_FALSE(later->testAttribute(Qt::WA_WState_Polished));
    hidden->show();
    EXPECT_TRUE(later->isVisible());
    EXPECT_TRUE(later->testAttribute(Qt::WA_WState_Polished));

    const auto shown = MakeHeader();
    shown->show();
    QComboBox* now = shown->addComboBox(1);
    ASSERT_NE(now, nullptr);
    EXPECT_TRUE(now->isVisible());
}

TEST(CHeaderTest, CheckBoxTakesTheColumnAndItsLabel)
{
    const auto header = MakeHeader();
    CCheckBox* box = header->addCheckBox(1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(header->checkBox(1), box);
    EXPECT_EQ(header->columnWidget(2), box);
    EXPECT_EQ(header->checkBox(0), nullptr);
    EXPECT_EQ(box->geometry(), QRect(152, 0, 152, 38));
    EXPECT_EQ(box->text(), "text");
}

TEST(CHeaderTest, ClicksAlternateTheSortDirectionAndTheIndicator)
{
    const auto header = MakeHeader();
    header->setSortableColumns({1, 2});
    header->show();
    QSignalSpy sort(header.get(), &CHeader::signal_sort);
    const QPoint second(200, 19);

    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, second);
    ASSERT_EQ(sort.count(), 1);
    EXPECT_EQ(sort.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(sort.at(0).at(1).toBool());
    EXPECT_EQ(header->sortIndicatorPath(), "://images/asc.png");
    EXPECT_TRUE(header->sortIndicator()->isVisible());
    EXPECT_FALSE(header->sortIndicator()->pixmap().isNull());
    EXPECT_TRUE(header->columnRect(1).contains(header->sortIndicator()->geometry()));

    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, second);
    ASSERT_EQ(sort.count(), 2);
    EXPECT_FALSE(sort.at(1).at(1).toBool());
    EXPECT_EQ(header->sortIndicatorPath(), "://images/desc.png");
    EXPECT_FALSE(header->sortIndicator()->pixmap().isNull());

    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, second);
    EXPECT_TRUE(sort.at(2).at(1).toBool());

    // Another column starts with its own flag; an unsortable one sends nothing.
    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 19));
    EXPECT_EQ(sort.at(3).at(0).toInt(), 0);
    EXPECT_TRUE(sort.at(3).at(1).toBool());
    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 19));
    EXPECT_EQ(sort.count(), 4);
}

TEST(CHeaderTest, WithResizingEnabledAClickDoesNotSort)
{
    const auto header = MakeHeader();
    header->setSortableColumns({1, 2, 3});
    header->setResizeEnabled(true);
    QSignalSpy sort(header.get(), &CHeader::signal_sort);
    QTest::mouseClick(header.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 19));
    EXPECT_EQ(sort.count(), 0);
}

TEST(CHeaderTest, DraggingABorderMovesItWithinBothColumns)
{
    struct Case
    {
        int to;
        int border; // expected right edge of column 0
    };
    // The border starts at 151; either column keeps kMinDragWidth pixels.
    const Case cases[] = {{181, 181},
                          {100, 100},
                          {5, CHeader::kMinDragWidth},
                          {400, 304 - 1 - CHeader::kMinDragWidth}};
    for (const Case& c : cases) {
        const auto header = MakeHeader();
        header->setResizeEnabled(true);
        header->show();
        QSignalSpy drag(header.get(), &CHeader::drag);
        QTest::mousePress(header.get(), Qt::LeftButton, Qt::NoModifier, QPoint(151, 19));
        QTest::mouseMove(header.get(), QPoint(c.to, 19));
        QTest::mouseRelease(header.get(), Qt::LeftButton, Qt::NoModifier, QPoint(c.to, 19));
        EXPECT_EQ(drag.count(), 1) << c.to;
        EXPECT_EQ(header->columnWidth(0), c.border) << c.to;
        EXPECT_EQ(header->columnX(1), c.border + 1) << c.to;
        EXPECT_EQ(header->columnX(1) + header->columnWidth(1), 304) << c.to;
        EXPECT_EQ(header->columnX(2), 304) << c.to;
    }
}

} // namespace
