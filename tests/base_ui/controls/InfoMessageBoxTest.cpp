// The information message box with the bundle's texts and images: layouts of
// the three modes, how exec ends, the password round trip, the auto-close
// countdown, dragging, keys and painting.

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CInfoMessageBox.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"

#include "ModalWatch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class InfoMessageBoxTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(CKoStringPool::LoadXml(":/base_ui_xml/base_ui_text.xml"), 0);
        ASSERT_EQ(CKoPixmapPool::LoadXml(":/base_ui_xml/base_ui_pixmap.xml"), 0);
    }

    template <typename Widget = QWidget>
    static Widget* Child(const QWidget& box, const char* name)
    {
        return box.findChild<Widget*>(name);
    }

    // Runs `action` on the modal box once exec has started, then returns
    // what exec returned. A box that is still open at the deadline ends with
    // kUnanswered.
    static int ExecWith(CInfoMessageBox& box, const std::function<void(CInfoMessageBox&)>& action)
    {
        return ExecAnswered(box, action);
    }

    static void Click(const QWidget& box, const char* name)
    {
        auto* button = Child<CCommonButton>(box, name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    }
};

TEST_F(InfoMessageBoxTest, TwoButtonModesLayOutTheBox)
{
    struct Case
    {
        int mode;
        const char* title;
    };
    for (const Case& c : {Case{0, "警告"}, Case{1, "提示"}}) {
        const CInfoMessageBox box(c.mode, "message", "");
        EXPECT_EQ(box.size(), QSize(420, 207));
        EXPECT_EQ(box.windowTitle(), c.title);
        EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);

        auto* title = Child<QLabel>(box, "ListItemLabelStatePersional");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text(), c.title);
        EXPECT_EQ(title->x(), 15);
        EXPECT_EQ(title->y(), (40 - title->height()) / 2);

        const QWidget* accept = Child(box, "InfoMessageBoxAccept");
        const QWidget* reject = Child(box, "InfoMessageBoxReject");
        const QWidget* close = Child(box, "InfoMessageBoxClose");
        ASSERT_TRUE(accept && reject && close);
        EXPECT_EQ(accept->geometry(), QRect(330, 161, 70, 30));
        EXPECT_EQ(reject->geometry(), QRect(250, 161, 70, 30));
        EXPECT_EQ(close->geometry(), QRect(385, 9, 24, 24));
        EXPECT_EQ(close->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(static_cast<const CCommonButton*>(accept)->text(), "确认");
        EXPECT_EQ(static_cast<const CCommonButton*>(reject)->text(), "取消");
        EXPECT_EQ(static_cast<const CCommonButton*>(accept)->textColor(), QColor("#393164"));
        EXPECT_EQ(static_cast<const CCommonButton*>(accept)->state(), CCommonButton::StateMarked);
    }
}

TEST_F(InfoMessageBoxTest, SingleTextIsAWrappedThreeLineMessage)
{
    const CInfoMessageBox box(1, "a message that may need more than one line", "  ");
    auto* message = Child<QLabel>(box, "ListItemLabelState");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->wordWrap());
    EXPECT_EQ(message->x(), 90);
    EXPECT_EQ(message->y(), 75);
    EXPECT_EQ(message->width(), 315);
    EXPECT_EQ(message->height(), 3 * message->fontMetrics().height());
    EXPECT_EQ(Child(box, "ListItemLabelStateTitle"), nullptr);
}

TEST_F(InfoMessageBoxTest, SecondTextMakesATitleLineAndAParagraph)
{
    const CInfoMessageBox box(1, "title line", "the paragraph below");
    auto* message = Child<QLabel>(box, "ListItemLabelStateTitle");
    auto* info = Child<QLabel>(box, "InfoContent");
    ASSERT_TRUE(message && info);
    EXPECT_FALSE(message->wordWrap());
    EXPECT_EQ(message->pos(), QPoint(90, 75));
    EXPECT_EQ(info->text(), "the paragraph below");
    EXPECT_TRUE(info->wordWrap());
    EXPECT_EQ(info->geometry(), QRect(90, 75 + message->height(), 315, 36));
}

TEST_F(InfoMessageBoxTest, ExecReturnsWhatTheButtonsMean)
{
    struct Case
    {
        const char* button;
        int result;
    };
    const Case cases[] = {
        {"InfoMessageBoxAccept", 1},
        {"InfoMessageBoxReject", 0},
        {"InfoMessageBoxClose", 0},
    };
    for (int mode : {0, 1}) {
        for (const Case& c : cases) {
            CInfoMessageBox box(mode, "message", "");
            EXPECT_EQ(ExecWith(box, [&](CInfoMessageBox& modal) { Click(modal, c.button); }),
                      c.result)
                << "mode " << mode << " " << c.button;
            EXPECT_FALSE(box.isVisible());
        }
    }
}

TEST_F(InfoMessageBoxTest, CloseButtonEndsWithTheCloseResult)
{
    CInfoMessageBox box(1, "message", "");
    box.setCloseResult(7);
    EXPECT_EQ(ExecWith(box, [](CInfoMessageBox& modal) { Click(modal, "InfoMessageBoxClose"); }),
              7);
}

TEST_F(InfoMessageBoxTest, KeysNeverEndTheBox)
{
    CInfoMessageBox box(1, "message", "");
    bool openAfterKeys = false;
    const int result = ExecWith(box, [&](CInfoMessageBox& modal) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            QTest::keyClick(&modal, key);
        }
        openAfterKeys = modal.isVisible();
        Click(modal, "InfoMessageBoxReject");
    });
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(result, 0);
}

TEST_F(InfoMessageBoxTest, ButtonSettersShowHideAndRename)
{
    CInfoMessageBox box(1, "message", "");
    box.show();
    box.setAcceptButton("开启", true);
    box.setRejectButton("later", false);
    auto* accept = Child<CCommonButton>(box, "InfoMessageBoxAccept");
    auto* reject = Child<CCommonButton>(box, "InfoMessageBoxReject");
    EXPECT_EQ(accept->text(), "开启");
    EXPECT_TRUE(accept->isVisible());
    EXPECT_EQ(reject->text(), "later");
    EXPECT_FALSE(reject->isVisible());

    box.setRejectButton("取消", true);
    box.replaceAcceptWithReject();
    EXPECT_EQ(reject->pos(), QPoint(330, 161));
    EXPECT_FALSE(accept->isVisible());
}

TEST_F(InfoMessageBoxTest, SingleButtonLayoutCentresTheAcceptButton)
{
    CInfoMessageBox box(0, "message", "");
    box.setSingleButtonLayout();
    box.hideRejectButton();
    EXPECT_EQ(Child(box, "InfoMessageBoxAccept")->pos(), QPoint(175, 161));
    EXPECT_TRUE(Child(box, "InfoMessageBoxReject")->isHidden());
    EXPECT_EQ(Child<QLabel>(box, "ListItemLabelState")->alignment(), Qt::AlignCenter);
}

TEST_F(InfoMessageBoxTest, IconFollowsTheType)
{
    struct Case
    {
        int type;
        const char* image;
    };
    const Case cases[] = {
        {0, "pix_blue_success.png"},        {1, "pix_orange_fail.png"},
        {2, "pix_orange_exclamation.png"},  {3, "pix_blue_ask.png"},
        {17, "pix_orange_exclamation.png"},
    };
    CInfoMessageBox box(1, "message", "");
    QLabel* icon = nullptr;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull()) {
            icon = label;
        }
    }
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->pos(), QPoint(40, 83));
    EXPECT_EQ(icon->size(), QSize(32, 32));
    for (const Case& c : cases) {
        box.setIconType(c.type);
        const QImage expected(QString(":/base_ui_image/CInfoMessageBox/") + c.image);
        EXPECT_EQ(icon->pixmap().toImage().convertToFormat(expected.format()), expected)
            << "type " << c.type;
    }
    box.showUserIcon();
    EXPECT_EQ(icon->pos(), QPoint(40, 95));
}

TEST_F(InfoMessageBoxTest, FileMessageNamesTheFileAndKeepsThePath)
{
    CInfoMessageBox box(1, "message", "");
    auto* message = Child<QLabel>(box, "ListItemLabelState");
    for (const QString& path : {QString(R"(C:\tools\a<b>.exe)"), QString("/opt/tools/a<b>.exe")}) {
        box.setFileMessage(path, "was blocked");
        EXPECT_EQ(message->text(), " <font color=#FF9933>a&lt;b&gt;.exe</font> "
                                   "<font color:rgba(255,255,255,80)>was blocked</font>");
        EXPECT_EQ(message->toolTip(), path);
    }
}

TEST_F(InfoMessageBoxTest, PasswordModeLaysOutThePrompt)
{
    const CInfoMessageBox box(2, "prompt", "placeholder");
    EXPECT_EQ(box.size(), QSize(400, 256));
    EXPECT_EQ(box.windowTitle(), "Korvan杀毒");
    EXPECT_EQ(Child(box, "InfoMessageBoxClose")->geometry(), QRect(359, 1, 32, 24));
    EXPECT_EQ(Child(box, "InfoMessageBoxAccept")->geometry(), QRect(310, 210, 70, 30));
    EXPECT_EQ(Child(box, "InfoMessageBoxReject")->geometry(), QRect(230, 210, 70, 30));

    auto* prompt = Child<QLabel>(box, "PasswdContent");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->geometry(), QRect(40, 68, 325, 40));
    EXPECT_EQ(prompt->text(), "prompt");
    auto* edit = Child<QLineEdit>(box, "LineEditPasswd");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->geometry(), QRect(40, 123, 325, 40));
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->placeholderText(), "placeholder");
    EXPECT_EQ(edit->textMargins(), QMargins(30, 0, 0, 0));
    auto* wrong = Child<QLabel>(box, "WrongPasswd");
    ASSERT_NE(wrong, nullptr);
    EXPECT_EQ(wrong->text(), "密码错误！");
    EXPECT_EQ(wrong->pos(), QPoint(40, 173));
    EXPECT_TRUE(wrong->isHidden());
    EXPECT_EQ(Child(box, "ListItemLabelState"), nullptr);
}

TEST_F(InfoMessageBoxTest, WrongPasswordKeepsTheBoxOpenUntilTheRightOne)
{
    CInfoMessageBox box(2, "prompt", "");
    std::vector<QString> received;
    QObject::connect(&box, &CInfoMessageBox::sigPasswdString, &box, [&](const QString& typed) {
        received.push_back(typed);
        box.onPasswdIsRight(typed == "secret");
    });

    int errorLabels = 0;
    bool open = false;
    QString kept;
    const int result = ExecWith(box, [&](CInfoMessageBox& modal) {
        auto* edit = Child<QLineEdit>(modal, "LineEditPasswd");
        QTest::keyClicks(edit, "wrong");
        Click(modal, "InfoMessageBoxAccept");
        Click(modal, "InfoMessageBoxAccept");
        for (QLabel* label : modal.findChildren<QLabel*>("WrongPasswd")) {
            errorLabels += label->isVisible() ? 1 : 0;
        }
        open = modal.isVisible();
        kept = edit->text();
        edit->clear();
        QTest::keyClicks(edit, "secret");
        QTest::keyClick(edit, Qt::Key_Return);
    });

    EXPECT_EQ(errorLabels, 1);
    EXPECT_TRUE(open);
    EXPECT_EQ(kept, "wrong");
    EXPECT_EQ(result, 1);
    const std::vector<QString> expected = {"wrong", "wrong", "secret"};
    EXPECT_EQ(received, expected);
}

TEST_F(InfoMessageBoxTest, PasswordBoxRejectsByItsButtons)
{
    for (const char* button : {"InfoMessageBoxReject", "InfoMessageBoxClose"}) {
        CInfoMessageBox box(2, "prompt", "");
        EXPECT_EQ(ExecWith(box, [&](CInfoMessageBox& modal) { Click(modal, button); }), 0)
            << button;
    }
}

TEST_F(InfoMessageBoxTest, AutoCloseEndsTheBox)
{
    CInfoMessageBox box(1, "message", "");
    box.startAutoClose(0);
    EXPECT_EQ(ExecWith(box, [](CInfoMessageBox&) {}), 0);
    auto* timer = box.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(InfoMessageBoxTest, AnsweringTheBoxStopsTheAutoClose)
{
    struct Case
    {
        const char* how;
        std::function<void(CInfoMessageBox&)> answer;
    };
    const Case cases[] = {
        {"accept button", [](CInfoMessageBox& modal) { Click(modal, "InfoMessageBoxAccept"); }},
        {"reject button", [](CInfoMessageBox& modal) { Click(modal, "InfoMessageBoxReject"); }},
        {"close button", [](CInfoMessageBox& modal) { Click(modal, "InfoMessageBoxClose"); }},
        {"close", [](CInfoMessageBox& modal) { modal.close(); }},
        {"done", [](CInfoMessageBox& modal) { modal.done(3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        CInfoMessageBox box(1, "message", "");
        box.startAutoClose(2);
        ExecWith(box, c.answer);
        auto* timer = box.findChild<QTimer*>();
        ASSERT_NE(timer, nullptr);
        EXPECT_FALSE(timer->isActive());
    }

    // Answered before it was ever shown: a later exec must not close itself.
    CInfoMessageBox box(1, "message", "");
    box.startAutoClose(2);
    box.reject();
    EXPECT_FALSE(box.findChild<QTimer*>()->isActive());
}

TEST_F(InfoMessageBoxTest, DraggingWithTheLeftButtonMovesTheBox)
{
    CInfoMessageBox box(1, "message", "");
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    const QPoint start = box.pos();

    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(&box, QPoint(130, 40));
    EXPECT_EQ(box.pos(), start + QPoint(30, 20));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(100, 20));

    QTest::mouseMove(&box, QPoint(10, 10));
    EXPECT_EQ(box.pos(), start + QPoint(30, 20)) << "no move without the button";
}

TEST_F(InfoMessageBoxTest, BoxWithoutParentStartsCentredOnThePrimaryScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const CInfoMessageBox box(1, "message", "");
    EXPECT_EQ(box.pos(), QPoint(screen.x() + (screen.width() - 420) / 2,
                                screen.y() + (screen.height() - 207) / 2));

    QWidget parent;
    parent.setGeometry(100, 50, 840, 414);
    const auto* child = new CInfoMessageBox(1, "message", "", &parent);
    EXPECT_EQ(child->pos(), QPoint(0, 0));

    auto* centred = new CInfoMessageBox(1, "message", "", &parent);
    centred->moveToCenterOf(&parent);
    EXPECT_EQ(centred->pos(), QPoint(100 + 210, 50 + 103));
}

TEST_F(InfoMessageBoxTest, PaintsTitleBandBodyAndFrame)
{
    CInfoMessageBox box(1, "message", "");
    const QImage image = box.grab().toImage();
    EXPECT_EQ(image.pixelColor(200, 5), QColor("#00a6f7"));
    EXPECT_EQ(image.pixelColor(200, 40), QColor("#00a6f7"));
    EXPECT_EQ(image.pixelColor(200, 41), QColor("#ffffff"));
    EXPECT_EQ(image.pixelColor(60, 180), QColor("#ffffff"));
    for (const QPoint& edge : {QPoint(0, 100), QPoint(419, 100), QPoint(200, 206)}) {
        EXPECT_EQ(image.pixelColor(edge), QColor("#00a6f7")) << edge.x() << "," << edge.y();
    }
}

TEST_F(InfoMessageBoxTest, UnknownModeBuildsAnEmptyBoxThatSurvivesEveryCall)
{
    CInfoMessageBox box(5, "message", "");
    EXPECT_TRUE(box.findChildren<QWidget*>().isEmpty());
    box.setAcceptButton("x", true);
    box.setFileMessage("a", "b");
    box.setIconType(1);
    box.onPasswdDoneClicked();
    box.onPasswdIsRight(false);
    box.Slot_Timer_Close();
    EXPECT_EQ(ExecWith(box, [](CInfoMessageBox& modal) { modal.onBtlCloseClicked(); }), 0);
}

} // namespace
