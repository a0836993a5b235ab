// The combo box builds its popup only when the popup first opens; the popup
// then lists the entries in a plain QListView, and picking one there selects
// it as in any combo box.

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
        m_combo.addItems({"all", "today", "this week"});
        m_combo.resize(120, 26);
        m_combo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_combo));
    }

    // The popup's container: a top-level child frame of the combo box.
    QWidget* Popup() const
    {
        for (QWidget* child : m_combo.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isWindow()) {
                return child;
            }
        }
        return nullptr;
    }

    ListPopupComboBox m_combo;
};

TEST_F(ListPopupComboBoxTest, MakesNoPopupUntilItOpens)
{
    m_combo.setCurrentIndex(2);
    QTest::keyClick(&m_combo, Qt::Key_Up);
    EXPECT_EQ(m_combo.currentIndex(), 1);
    EXPECT_EQ(Popup(), nullptr);
}

TEST_F(ListPopupComboBoxTest, OpensAPlainListAndPicksFromIt)
{
    const QSignalSpy activated(&m_combo, &QComboBox::activated);
    QTest::mouseClick(&m_combo, Qt::LeftButton);
    QAbstractItemView* view = m_combo.view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 10000));
    EXPECT_STREQ(view->metaObject()->className(), "QListView");
    EXPECT_NE(Popup(), nullptr);
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
    m_combo.hidePopup();
}

} // namespace
