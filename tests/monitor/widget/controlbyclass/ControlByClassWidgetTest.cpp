// The view by type: the category grid it builds from the bundle's catalogue
// and texts, and what a click on a category does.

#include "monitor/widget/controlbyclass/ControlByClassWidget.h"
#include "monitor/widget/dialog/CProgramDiaryDialog.h"
#include "widgets/safetools/CIconButton.h"
#include "widgets/safetools/CKoSafeToolsPool.h"
#include "widgets/safetools/ToolsWidget.h"

#include "base_ui/tools/CKoStringPool.h"

#include "LogCapture.h"
#include "WindowMouse.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kDeadlineMs = 10000;

struct Category
{
    int id;
    QPoint position;
};

const Category kCategories[] = {
    {100221, QPoint(0, 0)},  {100218, QPoint(203, 0)},  {100219, QPoint(406, 0)},
    {100217, QPoint(0, 70)}, {100220, QPoint(203, 70)},
};

// Runs a plain dialog in place of a category's diary and records the ids it
// was asked for.
class RecordingView : public ControlByClassWidget
{
public:
    using ControlByClassWidget::ControlByClassWidget;

    std::vector<int> requested;
    QPointer<QDialog> lastDialog;

protected:
    QDialog* createDiaryDialog(int id) override
    {
        requested.push_back(id);
        lastDialog = new QDialog(this);
        return lastDialog;
    }
};

class ControlByClassWidgetTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(CKoStringPool::LoadXml(":/xml/AMtext.xml"), 0);
        ASSERT_EQ(CKoSafeToolsPool::LoadXml(":/xml/safe_tools.xml"), 0);
    }

    void SetUp() override { m_page.resize(700, 500); }

    template <typename View>
    View* ShownView()
    {
        auto* view = new View(&m_page);
        view->initShow();
        m_page.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_page));
        WindowMouse::Park(&m_page);
        return view;
    }

    static CIconButton* ButtonAt(const QWidget& view, const QPoint& position)
    {
        for (CIconButton* button : view.findChildren<CIconButton*>()) {
            if (button->pos() == position) {
                return button;
            }
        }
        return nullptr;
    }

    // Every test writes its log lines here.
    const LogCapture m_log;
    QWidget m_page;
};

TEST_F(ControlByClassWidgetTest, ViewAndGridGeometry)
{
    const ControlByClassWidget view(&m_page);
    EXPECT_EQ(view.geometry(), QRect(0, 90, 700, 400));
    EXPECT_TRUE(view.findChildren<ToolsWidget*>().isEmpty());

    auto* shown = ShownView<ControlByClassWidget>();
    const auto grids = shown->findChildren<ToolsWidget*>();
    ASSERT_EQ(grids.size(), 1);
    EXPECT_EQ(grids[0]->geometry(), QRect(0, 0, 606, 130));
    EXPECT_TRUE(grids[0]->isVisible());
    ASSERT_EQ(grids[0]->buttons().size(), std::size(kCategories));
    for (std::size_t k = 0; k < std::size(kCategories); ++k) {
        const ToolsWidget::Button& entry = grids[0]->buttons()[k];
        EXPECT_EQ(entry.id.toInt(), kCategories[k].id);
        EXPECT_EQ(entry.button->pos(), kCategories[k].position);
        EXPECT_TRUE(entry.button->isVisible());
    }
}

TEST_F(ControlByClassWidgetTest, HoverAndPressUseThePageColours)
{
    auto* view = ShownView<ControlByClassWidget>();
    CIconButton* button = ButtonAt(*view, QPoint(203, 0));
    ASSERT_NE(button, nullptr);
    const auto pixel = [this, button](const QPoint& point) {
        return m_page.grab().toImage().pixelColor(button->mapTo(&m_page, point));
    };
    const QColor background = pixel(QPoint(190, 50));

    WindowMouse::Move(button, QPoint(100, 30));
    EXPECT_EQ(button->state(), CIconButton::StateHover);
    EXPECT_EQ(pixel(QPoint(190, 50)), QColor("#f2fbff"));
    EXPECT_EQ(pixel(QPoint(0, 0)), QColor("#55c7ff"));

    WindowMouse::Press(button, QPoint(100, 30));
    EXPECT_EQ(button->state(), CIconButton::StatePressed);
    EXPECT_EQ(pixel(QPoint(190, 50)), QColor("#f2fbff"));
    WindowMouse::Release(button, QPoint(300, 30));

    WindowMouse::Move(view, QPoint(650, 300));
    EXPECT_EQ(button->state(), CIconButton::StateNormal);
    EXPECT_EQ(pixel(QPoint(190, 50)), background);
}

TEST_F(ControlByClassWidgetTest, ClickOnEachCategoryRunsItsDiaryModallyAndDeletesIt)
{
    auto* view = ShownView<RecordingView>();
    for (const Category& category : kCategories) {
        CIconButton* button = ButtonAt(*view, category.position);
        ASSERT_NE(button, nullptr) << category.id;
        bool wasModal = false;
        QTimer::singleShot(0, view, [view, &wasModal] {
            QWidget* modal = QApplication::activeModalWidget();
            wasModal = modal != nullptr && modal == view->lastDialog;
            if (modal != nullptr) {
                EXPECT_EQ(modal->parentWidget(), view);
                static_cast<QDialog*>(modal)->reject();
            }
        });
        QTimer::singleShot(kDeadlineMs, view, [view] {
            if (view->lastDialog != nullptr) {
                view->lastDialog->done(-99);
            }
        });
        WindowMouse::Click(button, QPoint(100, 30));
        ASSERT_FALSE(view->requested.empty());
        EXPECT_EQ(view->requested.back(), category.id);
        EXPECT_TRUE(wasModal) << category.id;
        EXPECT_TRUE(view->lastDialog.isNull()) << "dialog of " << category.id << " not deleted";
        EXPECT_TRUE(m_log.HasLine("TRACE", "click id:" + std::to_string(category.id)));
    }
    EXPECT_EQ(view->requested.size(), std::size(kCategories));
}

TEST_F(ControlByClassWidgetTest, ClickRunsTheCategorysDiaryAndDeletesItOnceClosed)
{
    auto* view = ShownView<ControlByClassWidget>();
    QPointer<CProgramDiaryDialog> diary;
    int category = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        diary = qobject_cast<CProgramDiaryDialog*>(QApplication::activeModalWidget());
        if (!diary.isNull()) {
            poll.stop();
            category = diary->category();
            EXPECT_EQ(diary->parentWidget(), view);
            diary->reject();
        }
    });
    poll.start(10);
    WindowMouse::Click(ButtonAt(*view, QPoint(0, 70)), QPoint(100, 30));
    EXPECT_TRUE(m_log.HasLine("TRACE", "click id:100217"));
    EXPECT_EQ(category, 100217);
    EXPECT_TRUE(diary.isNull());
    EXPECT_TRUE(view->findChildren<QDialog*>().isEmpty());
}

TEST_F(ControlByClassWidgetTest, IdOutsideTheCategoriesIsRefused)
{
    RecordingView view(&m_page);
    for (int id : {100216, 100222, 100301, -1, 0}) {
        view.sltToolButtonClicked(id);
        EXPECT_TRUE(m_log.HasLine("ERROR", "no diary for id " + std::to_string(id) +
                                               ": not a record category."))
            << id;
    }
    EXPECT_TRUE(view.requested.empty());
}

TEST(ControlByClassWidgetCategoryTest, FiveCategoryIds)
{
    for (int id = 100210; id <= 100230; ++id) {
        EXPECT_EQ(ControlByClassWidget::IsCategory(id), id >= 100217 && id <= 100221) << id;
    }
}

} // namespace
