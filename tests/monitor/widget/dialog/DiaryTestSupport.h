#pragma once

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CTableWidget.h"

#include "PageResources.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

// Driving the diary dialog as a user does, for the diary's widget tests.
namespace DiaryTestSupport {

inline CTableWidget* Table(const QWidget& dialog)
{
    return dialog.findChild<CTableWidget*>();
}

inline QComboBox* TimeFilter(const QWidget& dialog)
{
    return dialog.findChild<QComboBox*>("PROGRAM_DIARY_COMBOBOX");
}

inline void Click(QWidget* widget, QPoint pos = QPoint(-1, -1),
                  Qt::MouseButton button = Qt::LeftButton)
{
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, button, {}, pos == QPoint(-1, -1) ? widget->rect().center() : pos);
}

inline void ClickButton(const QWidget& dialog, const char* name)
{
    Click(dialog.findChild<CCommonButton*>(name));
}

// Opens the combo's popup with a click, points at the entry and clicks it.
// (The popup takes a release only after the pointer moved in it, or once the
// double-click time passed.)
inline void PickFilter(QComboBox* combo, int index)
{
    ASSERT_NE(combo, nullptr);
    Click(combo);
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(WaitFor([view] { return view->isVisible(); }));
    const QRect item = view->visualRect(combo->model()->index(index, 0));
    QTest::mouseMove(view->viewport(), item.topLeft() + QPoint(2, 2));
    QTest::mouseMove(view->viewport(), item.center());
    Click(view->viewport(), item.center());
    ASSERT_TRUE(WaitFor([view] { return !view->isVisible(); }));
}

// The table's context menu once it is shown, or null.
inline QMenu* WaitForMenu(const QWidget& dialog)
{
    QMenu* menu = nullptr;
    WaitFor([&] {
        menu = dialog.findChild<QMenu*>("ProgramDiaryDialogMenu");
        return menu != nullptr && menu->isVisible();
    });
    return menu != nullptr && menu->isVisible() ? menu : nullptr;
}

// Right-clicks the table and clicks the menu's only entry, "导出为CSV…".
inline void ExportByMenu(const QWidget& dialog)
{
    CTableWidget* table = Table(dialog);
    ASSERT_NE(table, nullptr);
    // Through the window, as the platform delivers it, so that the press
    // becomes a context menu event too.
    QWidget* window = table->window();
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {},
                      table->mapTo(window, table->dataArea().center()));
    QMenu* menu = WaitForMenu(dialog);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    QAction* action = menu->actions().first();
    EXPECT_EQ(action->text(), "导出为CSV…");
    const QRect item = menu->actionGeometry(action);
    QTest::mouseMove(menu, item.center());
    Click(menu, item.center());
}

} // namespace DiaryTestSupport
