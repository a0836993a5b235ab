// One row of the view by time: layout, number badge, elided info with its
// wrapped tooltip, the about icon of heartbeat rows and its hover picture,
// and the view button, which opens the detail box only on program-start rows.

#include "monitor/widget/controlbyclass/CAboutLabel.h"
#include "monitor/widget/controlbyclass/CProgramDiaryListItemWidget.h"

#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/utils/CommonUtils.h"

#include "PageResources.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kProgramStart = "程序启动";
const QString kHeartbeat = "心跳上报时间";
const QString kTime = "2020-10-27 21:13:14";

class ProgramDiaryListItemWidgetTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { LoadPageResources(); }

    void SetUp() override
    {
        m_host.resize(700, 60);
        m_row = new CProgramDiaryListItemWidget(&m_host);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    QLabel* Label(const char* name) const { return m_row->findChild<QLabel*>(name); }
    QPushButton* ViewButton() const { return m_row->findChild<QPushButton*>(); }
    CAboutLabel* About() const { return m_row->findChild<CAboutLabel*>(); }

    static DiaryListRecord Record(const QString& type, const QString& info = "信息")
    {
        return {type, kTime, "about " + type, info};
    }

    // A text far wider than the info label's 250 px.
    static QString LongText() { return QString("事件信息").repeated(40); }

    QWidget m_host;
    CProgramDiaryListItemWidget* m_row = nullptr;
};

TEST_F(ProgramDiaryListItemWidgetTest, LaysOutTheRow)
{
    EXPECT_EQ(m_row->size(), QSize(685, 60));
    struct Case
    {
        const char* name;
        QPoint pos;
    };
    const Case labels[] = {
        {"PROGRAM_DIARY_LIST_LABEL_TYPE", QPoint(60, 14)},
        {"PROGRAM_DIARY_LIST_LABEL_TIME", QPoint(60, 36)},
        {"PROGRAM_DIARY_LIST_LABEL_INFO", QPoint(208, 36)},
    };
    for (const Case& c : labels) {
        ASSERT_NE(Label(c.name), nullptr) << c.name;
        EXPECT_EQ(Label(c.name)->pos(), c.pos) << c.name;
    }
    ASSERT_NE(ViewButton(), nullptr);
    EXPECT_EQ(ViewButton()->objectName(), "PROGRAM_DIARY_SEE_BTN");
    EXPECT_EQ(ViewButton()->text(), "查看");
    EXPECT_EQ(ViewButton()->pos(), QPoint(510, 36));
    ASSERT_NE(About(), nullptr);
    EXPECT_EQ(About()->size(), QSize(14, 14));
    EXPECT_FALSE(About()->isVisibleTo(m_row));
}

TEST_F(ProgramDiaryListItemWidgetTest, ShowsTheRecordWithItsNumberCentredOnTheBadge)
{
    for (int index : {0, 8, 24}) {
        m_row->setData(Record("下载更新包"), index);
        EXPECT_EQ(Label("PROGRAM_DIARY_LIST_LABEL_TYPE")->text(), "下载更新包");
        EXPECT_EQ(Label("PROGRAM_DIARY_LIST_LABEL_TIME")->text(), kTime);
        const QLabel* number = Label("PROGRAM_DIARY_LIST_LABEL_NUM");
        EXPECT_EQ(number->text(), QString::number(index + 1));
        EXPECT_EQ(number->pos(),
                  QPoint(10 + (32 - number->width()) / 2, 14 + (32 - number->height()) / 2));
        EXPECT_EQ(number->font().pixelSize(), 14) << "page style sheet";
        EXPECT_EQ(m_row->aboutText(), "about 下载更新包");
    }
}

TEST_F(ProgramDiaryListItemWidgetTest, LongInfoIsElidedWithTheWholeTextWrappedInTheTooltip)
{
    const QLabel* info = Label("PROGRAM_DIARY_LIST_LABEL_INFO");

    m_row->setData(Record(kProgramStart, LongText()), 0);
    EXPECT_TRUE(info->text().endsWith(QChar(0x2026))) << info->text().toStdString();
    EXPECT_LE(m_row->fontMetrics().horizontalAdvance(info->text()), 250);
    const QString tooltip =
        CommonUtils::wrapTextByWidth(LongText(), 300, m_row->fontMetrics(), "\n");
    EXPECT_EQ(info->toolTip(), tooltip);
    EXPECT_TRUE(tooltip.contains('\n'));
    EXPECT_EQ(m_row->elideToWidth(LongText(), 250), info->text());

    m_row->setData(Record(kProgramStart, "信息"), 0);
    EXPECT_EQ(info->text(), "信息");
    EXPECT_TRUE(info->toolTip().isEmpty()) << "a fitting text clears the tooltip";
    EXPECT_TRUE(m_row->elideToWidth("信息", 250).isEmpty());
}

TEST_F(ProgramDiaryListItemWidgetTest, OnlyHeartbeatRowsShowTheAboutIcon)
{
    const QString about = QString("心跳时间会短时间频繁上报").repeated(6);
    m_row->setData({kHeartbeat, kTime, about, "信息"}, 15);
    const QLabel* type = Label("PROGRAM_DIARY_LIST_LABEL_TYPE");
    EXPECT_TRUE(About()->isVisibleTo(m_row));
    EXPECT_EQ(About()->pos(), QPoint(type->x() + type->width() + 10, type->y() + 5));
    EXPECT_EQ(About()->toolTip(),
              CommonUtils::wrapTextByWidth(about, 300, m_row->fontMetrics(), "\n"));
    EXPECT_TRUE(About()->toolTip().contains('\n'));

    for (const QString& other : {kProgramStart, QString("执行扫描")}) {
        m_row->setData(Record(other), 20);
        EXPECT_FALSE(About()->isVisibleTo(m_row)) << other.toStdString();
    }
}

TEST_F(ProgramDiaryListItemWidgetTest, AboutIconShowsItsHoverPicture)
{
    m_row->setData(Record(kHeartbeat), 15);
    CAboutLabel* about = About();
    const QImage strip(":/images/pix_list_about.png");
    const QPoint inside(3, 7); // inside the ring of the "i" sign
    ASSERT_NE(strip.pixelColor(inside), strip.pixelColor(inside + QPoint(14, 0)));

    EXPECT_FALSE(about->isHovered());
    EXPECT_EQ(about->grab().toImage().pixelColor(inside), strip.pixelColor(inside + QPoint(14, 0)));

    QEnterEvent enter(QPointF(7, 7), QPointF(7, 7), about->mapToGlobal(QPointF(7, 7)));
    QApplication::sendEvent(about, &enter);
    EXPECT_TRUE(about->isHovered());
    EXPECT_NE(about->grab().toImage().pixelColor(inside), strip.pixelColor(inside + QPoint(14, 0)));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(about, &leave);
    EXPECT_FALSE(about->isHovered());
}

TEST_F(ProgramDiaryListItemWidgetTest, ViewButtonOpensTheDetailBoxOnProgramStartRowsOnly)
{
    struct Case
    {
        QString type;
        bool opens;
    };
    const Case cases[] = {
        {kProgramStart, true}, {"发现勒索程序", false}, {"下载更新包", false},
        {kHeartbeat, false},   {"执行扫描", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type.toStdString());
        m_row->setData(Record(c.type), 0);
        EXPECT_EQ(m_row->isProgramStart(), c.opens);

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
        QTest::mouseClick(ViewButton(), Qt::LeftButton, {}, ViewButton()->rect().center());
        ASSERT_TRUE(WaitFor([&checked] { return checked; }));

        EXPECT_EQ(detailBoxOpened, c.opens);
        EXPECT_TRUE(modal.isNull()) << "the closed box is deleted";
        EXPECT_TRUE(m_row->findChildren<CDetailMessageBox*>().isEmpty());
    }
}

} // namespace
