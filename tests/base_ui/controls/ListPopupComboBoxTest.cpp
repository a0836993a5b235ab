// The combo box makes its plain QListView only when the popup first opens,
// also under a style sheet; the popup then lists the entries in it, and
// picking one there selects it as in any combo box.

#include "base_ui/controls/ListPopupComboBox.h"

#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ListPopupComboBoxTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_combo.setStyleSheet(
            "QComboBox { background-color: #fbfbfb; border: 1px solid #d2d3de; }");
        m_combo.addItems({"all", "today", "this week"});
        m_combo.resize(120, 26);
        m_combo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_combo));
    }

    // The plain QListView lists among the combo box's descendants.
    int PlainLists() const
    {
        int count = 0;
        for (const QListView* list : m_combo.findChildren<QListView*>()) {
            count += qstrcmp(list->metaObject()->className(), "QListView") == 0 ? 1 : 0;
        }
        return count;
    }

    ListPopupComboBox m_combo;
};

TEST_F(ListPopupComboBoxTest, MakesNoListUntilThePopupOpens)
{
    m_combo.setCurrentIndex(2);
    QTest::keyClick(&m_combo, Qt::Key_Up);
    EXPECT_EQ(m_combo.currentIndex(), 1);
    EXPECT_EQ(PlainLists(), 0);
}

TEST_F(ListPopupComboBoxTest, OpensAPlainListAndPicksFromIt)
{
    const QSignalSpy activated(&m_combo, &QComboBox::activated);
    QTest::mouseClick(&m_combo, Qt::LeftButton);
    QAbstractItemView* view = m_combo.view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 10000));
    EXPECT_STREQ(view->metaObject()->className(), "QListView");
    EXPECT_EQ(PlainLists(), 1);
    EXPECT_EQ(view->model(), m_combo.model());

    const QRect item = view->visualRect(m_combo.model()->index(2, 0));
    QTest::mouseMove(view->viewport(), item.topLeft() + QPoint(2, 2));
    QTest::mouseMove(view->viewport(), item.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    ASSERT_TRUE(QTest::qWaitFor([view] { return !view->isVisible(); }, 10000));
    EXPECT_EQ(m_combo.currentIndex(), 2);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.first().first().toInt(), 2);

    // Opened again, it keeps the list it made.
    QTest::mouseClick(&m_combo, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 10000));
    EXPECT_EQ(m_combo.view(), view);
    EXPECT_EQ(PlainLists(), 1);
    m_combo.hidePopup();
}

} // namespace
