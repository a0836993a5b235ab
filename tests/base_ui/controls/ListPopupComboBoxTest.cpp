// The combo box makes its popup, with a plain QListView, only when it first
// opens, also under a style sheet and through style changes; the popup then
// lists the entries in it, and picking one there selects it as in any combo
// box. A style change after a size hint was computed still updates it.

#include "base_ui/controls/ListPopupComboBox.h"

#include <QFrame>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

// Qt's popup container is the combo box's only frame child.
bool HasPopup(const QComboBox& combo)
{
    return combo.findChild<QFrame*>(QString(), Qt::FindDirectChildrenOnly) != nullptr;
}

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
    m_combo.setStyleSheet("QComboBox { border: 2px solid #0c1b36; }");
    EXPECT_FALSE(HasPopup(m_combo));
    EXPECT_EQ(PlainLists(), 0);
}

TEST_F(ListPopupComboBoxTest, AStyledParentMakesNoPopupEither)
{
    QWidget page;
    page.setStyleSheet("QComboBox { padding-left: 3px; font-size: 15px; color: #4d4770; }");
    auto* combo = new ListPopupComboBox(&page);
    combo->addItems({"all", "today"});
    combo->resize(120, 26);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    combo->setStyleSheet("QComboBox { background-color: #fbfbfb; }");
    EXPECT_FALSE(HasPopup(*combo));
}

// Style, font and palette changes taken before the popup existed reach it
// when it opens: it looks as the popup of a combo box that had one when the
// changes came.
TEST_F(ListPopupComboBoxTest, ThePopupOpensAsIfItHadTakenTheChanges)
{
    const QString sheet = "QComboBox { font-size: 21px; color: #123456; }";
    ListPopupComboBox early;
    early.addItems({"all", "today", "this week"});
    early.resize(120, 26);
    early.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&early));
    early.showPopup();
    early.hidePopup();
    early.setStyleSheet(sheet);

    m_combo.setStyleSheet(sheet);
    ASSERT_FALSE(HasPopup(m_combo));
    for (ListPopupComboBox* combo : {&early, &m_combo}) {
        combo->showPopup();
        ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 10000));
    }
    const QAbstractItemView* view = m_combo.view();
    EXPECT_EQ(view->font().toString(), early.view()->font().toString());
    EXPECT_EQ(view->window()->font().toString(), early.view()->window()->font().toString());
    EXPECT_EQ(view->palette(), early.view()->palette());
    EXPECT_EQ(view->window()->palette(), early.view()->window()->palette());
    EXPECT_EQ(typeid(*view->itemDelegate()), typeid(*early.view()->itemDelegate()));
    early.hidePopup();
    m_combo.hidePopup();
}

TEST_F(ListPopupComboBoxTest, ASizeHintFollowsALaterStyleChange)
{
    m_combo.setStyleSheet("QComboBox { padding-left: 3px; }");
    const QSize narrow = m_combo.sizeHint();
    m_combo.setStyleSheet("QComboBox { padding-left: 60px; }");
    EXPECT_GE(m_combo.sizeHint().width(), narrow.width() + 50);
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
