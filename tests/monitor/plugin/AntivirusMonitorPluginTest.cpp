// The plug-in as a host meets it: loaded through QLibrary, a page from its one
// export, driven with mouse events through the host window; with the log
// module beside the program, over a journal of the test's own.

#include "PluginHost.h"
#include "TestJournal.h"

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QDateEdit>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

using namespace PluginHost;

namespace {

class AntivirusMonitorPluginTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE(GetInterface(), nullptr) << Plugin().errorString().toStdString();
    }

    // The radio buttons by time and by type, those that the page has.
    static QList<QRadioButton*> RadioButtons(const QWidget& page)
    {
        QList<QRadioButton*> buttons;
        for (const char* name : {"AntivirusMonitorViewByTime", "AntivirusMonitorViewByType"}) {
            if (auto* button = page.findChild<QRadioButton*>(name)) {
                buttons.append(button);
            }
        }
        return buttons;
    }

    // Matching log lines of this process written since the test began.
    int CountNewLogLines(const QRegularExpression& pattern) const
    {
        return CountLogLines(pattern, m_logStart);
    }

    const int m_logStart = static_cast<int>(LogLines().size());
    const TestJournal m_journal;
    Host m_host;
};

TEST_F(AntivirusMonitorPluginTest, ExportsOnlyGetInterfaceAndRegistersTheBundle)
{
    EXPECT_TRUE(QFile::exists(":/xml/AMtext.xml"))
        << "the plug-in registers its bundle when loaded";
    EXPECT_TRUE(QFile::exists(":/images/pix_switch.png"));
    for (const char* hidden :
         {"_ZN22AntivirusMonitorWidgetC1Ev", "_ZN11CommonUtils8Init_LogERK7QString",
          "_Z21qInitResources_bundlev", "_ZN13CLogModuleLib8instanceEv"}) {
        EXPECT_EQ(Plugin().resolve(hidden), nullptr) << hidden;
    }
}

TEST_F(AntivirusMonitorPluginTest, PageIsAParentlessWidgetWithResourcesUntilItIsBuilt)
{
    const std::unique_ptr<iAntivirusMonitor> page(GetInterface()());
    ASSERT_NE(page, nullptr);
    QObject* object = page.get();
    EXPECT_EQ(static_cast<void*>(qobject_cast<QWidget*>(object)), static_cast<void*>(page.get()))
        << "the interface pointer is the widget's address";
    EXPECT_STREQ(object->metaObject()->className(), "AntivirusMonitorWidget");
    EXPECT_EQ(page->parentWidget(), nullptr);
    EXPECT_TRUE(page->findChildren<QWidget*>().isEmpty()) << "construction builds no child widget";
    EXPECT_TRUE(page->styleSheet().contains("antivirTitle")) << "the page's own sheet";
    EXPECT_TRUE(page->styleSheet().contains("ListItemLabelState")) << "the control library's sheet";
    EXPECT_FALSE(page->styleSheet().contains(QRegularExpression("%baseStyle\\w+%")))
        << "style variables are substituted";
}

TEST_F(AntivirusMonitorPluginTest, BuildsTitleViewButtonsAndIsolationSwitch)
{
    const QWidget& page = m_host.page();
    EXPECT_EQ(page.geometry(), QRect(12, 62, 850, 400));
    EXPECT_EQ(page.parentWidget(), &m_host.window());

    auto* title = page.findChild<QLabel*>("antivirTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QString::fromUtf8("Korvan杀毒行为监控"));
    EXPECT_EQ(title->pos(), QPoint(10, 0));
    EXPECT_TRUE(title->font().bold()) << "the page style sheet styles the title";

    const QList<QRadioButton*> radios = RadioButtons(page);
    ASSERT_EQ(radios.size(), 2);
    EXPECT_EQ(radios[0]->text(), QString::fromUtf8("按时间查看"));
    EXPECT_EQ(radios[1]->text(), QString::fromUtf8("按类型查看"));
    EXPECT_EQ(radios[0]->pos(), QPoint(10, title->y() + title->height() + 15));
    EXPECT_EQ(radios[1]->pos(), QPoint(radios[0]->x() + radios[0]->width() + 30, radios[0]->y()));
    EXPECT_TRUE(radios[0]->isChecked());
    EXPECT_EQ(radios[1]->cursor().shape(), Qt::PointingHandCursor);

    auto* isolation = page.findChild<QLabel*>("btntextStyle");
    ASSERT_NE(isolation, nullptr);
    EXPECT_EQ(isolation->text(), QString::fromUtf8("信息隔离模式"));
    EXPECT_EQ(isolation->pos(), QPoint(550, 5));
    QWidget* switchButton = page.findChild<QWidget*>("AntivirusMonitorIsolationSwitch");
    ASSERT_NE(switchButton, nullptr);
    EXPECT_EQ(switchButton->pos(), QPoint(isolation->x() + isolation->width() + 10, 0));
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }))
        << "the switch starts off";

    QWidget* byTime = FindOne(&page, "ControlByDataWidget");
    ASSERT_NE(byTime, nullptr);
    EXPECT_TRUE(byTime->isVisible());
    EXPECT_EQ(FindOne(&page, "ControlByClassWidget"), nullptr)
        << "the view by type waits for its first choice";
}

TEST_F(AntivirusMonitorPluginTest, SwitchingViewsKeepsEachViewAndItsState)
{
    const QWidget& page = m_host.page();
    const QList<QRadioButton*> radios = RadioButtons(page);
    ASSERT_EQ(radios.size(), 2);
    const QPointer<QWidget> byTime = FindOne(&page, "ControlByDataWidget");
    ASSERT_FALSE(byTime.isNull());
    auto* date = byTime->findChild<QDateEdit*>("DataWidgetControl");
    ASSERT_NE(date, nullptr);
    const QDate chosen = QDate::currentDate().addDays(-3);
    date->setDate(chosen);

    Click(radios[1]);
    const QPointer<QWidget> byType = FindOne(&page, "ControlByClassWidget");
    ASSERT_FALSE(byType.isNull());
    EXPECT_TRUE(byType->isVisible());
    EXPECT_FALSE(byTime->isVisible());
    EXPECT_EQ(byType->geometry(), QRect(0, 90, 700, 400));
    EXPECT_EQ(Find(byType, "CIconButton").size(), 5);

    for (QRadioButton* radio : {radios[0], radios[0], radios[1], radios[1], radios[0]}) {
        Click(radio);
        EXPECT_TRUE(radio->isChecked());
    }
    EXPECT_TRUE(byTime->isVisible());
    EXPECT_FALSE(byType->isVisible());
    EXPECT_EQ(Find(&page, "ControlByDataWidget"), QList<QWidget*>{byTime.data()})
        << "nothing recreated";
    EXPECT_EQ(Find(&page, "ControlByClassWidget"), QList<QWidget*>{byType.data()});
    EXPECT_EQ(date->date(), chosen) << "the view by time keeps its state";
}

// The view by type shown, and its category buttons in grid order: 100221,
// 100218, 100219, 100217, 100220.
QList<QWidget*> ShowCategories(const QWidget& page)
{
    auto* byTypeButton = page.findChild<QRadioButton*>("AntivirusMonitorViewByType");
    if (byTypeButton == nullptr) {
        return {};
    }
    Click(byTypeButton);
    QWidget* byType = FindOne(&page, "ControlByClassWidget");
    return byType != nullptr ? Find(byType, "CIconButton") : QList<QWidget*>();
}

TEST_F(AntivirusMonitorPluginTest, ViewButtonOfTheProgramStartDiaryOpensTheDetailBox)
{
    const QList<QWidget*> categories = ShowCategories(m_host.page());
    ASSERT_EQ(categories.size(), 5);

    QString diaryClass;
    int viewButtons = 0;
    bool detailSeen = false;
    const ModalWatch diarySeen([&](QDialog& diary) {
        diaryClass = diary.metaObject()->className();
        QList<QWidget*> buttons = Find(&diary, "PushButton");
        buttons.removeIf([](const QWidget* button) { return !button->isVisible(); });
        viewButtons = static_cast<int>(buttons.size());
        const ModalWatch detail([](QDialog& box) {
            EXPECT_STREQ(box.metaObject()->className(), "CDetailMessageBox");
            Click(box.findChild<QWidget*>("DetailMessageBoxClose"));
        });
        if (!buttons.isEmpty()) {
            Click(buttons.first());
        }
        detailSeen = detail.seen();
        Click(diary.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
    });
    Click(categories[0]);

    ASSERT_TRUE(diarySeen.seen()) << "a category opens its diary";
    EXPECT_EQ(diaryClass, "CProgramDiaryDialog");
    EXPECT_EQ(viewButtons, 5) << "a view button in each of the five visible rows";
    EXPECT_TRUE(detailSeen);
    EXPECT_TRUE(WaitFor([&] { return Find(&m_host.page(), "CProgramDiaryDialog").isEmpty(); }))
        << "the closed diary is gone";
    EXPECT_EQ(CountNewLogLines(LogLinePattern("TRACE", "ControlByClassWidget.cpp",
                                              "ControlByClassWidget::sltToolButtonClicked",
                                              "click id:100221")),
              1);
}

TEST_F(AntivirusMonitorPluginTest, DiariesLogTheModuleRecords)
{
    ASSERT_TRUE(m_host.page().loadLogModule());
    const QList<QWidget*> categories = ShowCategories(m_host.page());
    ASSERT_EQ(categories.size(), 5);

    const struct
    {
        int button;
        int category;
    } diaries[] = {{0, 100221}, {1, 100218}, {2, 100219}, {3, 100217}, {4, 100220}};
    for (const auto& diary : diaries) {
        const auto pattern = [&](int record) {
            return LogLinePattern("TRACE", "CProgramDiaryDialog.cpp",
                                  "CProgramDiaryDialog::loadData",
                                  QString("get data%1:%2").arg(record).arg(diary.category));
        };
        bool allRecords = false;
        const ModalWatch seen([&](QDialog& dialog) {
            allRecords = WaitFor([&] {
                return CountNewLogLines(pattern(1)) == 1 && CountNewLogLines(pattern(2)) == 1 &&
                       CountNewLogLines(pattern(3)) == 1;
            });
            Click(dialog.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
        });
        Click(categories[diary.button]);
        ASSERT_TRUE(seen.seen()) << diary.category;
        EXPECT_TRUE(allRecords) << "the test journal's three records of " << diary.category;
    }
}

// The table's records through its meta-object, the way a host can read them.
int RowCount(QWidget* table)
{
    int count = -1;
    QMetaObject::invokeMethod(table, "rowCount", Qt::DirectConnection, Q_RETURN_ARG(int, count));
    return count;
}

QStringList RowTexts(QWidget* table, int row)
{
    QStringList texts;
    QMetaObject::invokeMethod(table, "rowTexts", Qt::DirectConnection,
                              Q_RETURN_ARG(QStringList, texts), Q_ARG(int, row));
    return texts;
}

QList<QStringList> AllRows(QWidget* table)
{
    QList<QStringList> rows;
    for (int row = 0; row < RowCount(table); ++row) {
        rows.append(RowTexts(table, row));
    }
    return rows;
}

QString TimeText(std::int64_t time)
{
    return QDateTime::fromMSecsSinceEpoch(time).toLocalTime().toString("yyyy-MM-dd hh:mm:ss");
}

QString DayText(std::int64_t time)
{
    return QDateTime::fromMSecsSinceEpoch(time).toLocalTime().toString("yyyy-MM-dd");
}

TEST_F(AntivirusMonitorPluginTest, ScanDiaryShowsTheRecordsAndOneAppendedWhileOpen)
{
    ASSERT_TRUE(m_host.page().loadLogModule());
    const QList<QWidget*> categories = ShowCategories(m_host.page());
    ASSERT_EQ(categories.size(), 5);
    QList<QStringList> expected;
    for (std::size_t i = TestJournal::kPerCategory; i-- > 0;) {
        expected.append({TimeText(m_journal.SeedTime(i)), "test 0", "test 1", "查看"});
    }
    const std::int64_t live = m_journal.SeedTime(TestJournal::kPerCategory - 1) + 3000;

    QList<QStringList> history;
    QList<QStringList> withLive;
    int viewButtons = 0;
    const ModalWatch seen([&](QDialog& dialog) {
        QWidget* table = FindOne(&dialog, "CTableWidget");
        ASSERT_NE(table, nullptr);
        WaitFor([&] { return RowCount(table) == static_cast<int>(expected.size()); });
        history = AllRows(table);
        QList<QWidget*> buttons = Find(&dialog, "PushButton");
        buttons.removeIf([](const QWidget* button) { return !button->isVisible(); });
        viewButtons = static_cast<int>(buttons.size());
        if (m_journal.Append(100218, live, u"live")) {
            WaitFor([&] { return RowCount(table) == static_cast<int>(expected.size()) + 1; });
        }
        withLive = AllRows(table);
        Click(dialog.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
    });
    Click(categories[1]);
    ASSERT_TRUE(seen.seen());
    EXPECT_EQ(history, expected) << "newest first, in place of the sample rows";
    EXPECT_EQ(viewButtons, static_cast<int>(expected.size()));
    expected.prepend({TimeText(live), "live 0", "live 1", "查看"});
    EXPECT_EQ(withLive, expected) << "the appended record on top";
}

TEST_F(AntivirusMonitorPluginTest, TheViewByTimeShowsTheRecordsOnceTheModuleIsLoaded)
{
    // The host loads the module after it built the page.
    QWidget* byTime = FindOne(&m_host.page(), "ControlByDataWidget");
    ASSERT_NE(byTime, nullptr);
    QWidget* list = FindOne(byTime, "CProgramDiaryListWidget");
    ASSERT_NE(list, nullptr);
    // Type, time and info of the shown rows, top to bottom.
    const auto shownRows = [&] {
        QList<QWidget*> rows = Find(list, "CProgramDiaryListItemWidget");
        rows.removeIf([](const QWidget* row) { return !row->isVisible(); });
        std::sort(rows.begin(), rows.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        QStringList shown;
        for (const QWidget* row : rows) {
            QStringList texts;
            for (const char* name :
                 {"PROGRAM_DIARY_LIST_LABEL_TYPE", "PROGRAM_DIARY_LIST_LABEL_TIME",
                  "PROGRAM_DIARY_LIST_LABEL_INFO"}) {
                texts << row->findChild<QLabel*>(name)->text();
            }
            shown << texts.join('|');
        }
        return shown;
    };
    ASSERT_EQ(shownRows().size(), 5);
    EXPECT_EQ(shownRows().front(), "程序启动|2020-10-27 21:13:14|信息") << "the samples first";

    ASSERT_TRUE(m_host.page().loadLogModule());
    // The newest seeded records: one of each category at the same time, the
    // later append first.
    const std::int64_t newest = m_journal.SeedTime(TestJournal::kPerCategory - 1);
    byTime->findChild<QDateEdit*>("DataWidgetControl")
        ->setDate(QDateTime::fromMSecsSinceEpoch(newest).date());
    const QString time = TimeText(newest);
    const QStringList expected{
        "下载更新包|" + time + "|test 0", "心跳上报时间|" + time + "|最后活跃时间 ：" + time,
        "发现勒索程序|" + time + "|test 0 test 1", "执行扫描|" + time + "|test 0 test 1",
        "程序启动|" + time + "|test 0"};
    EXPECT_TRUE(WaitFor([&] { return shownRows() == expected; }))
        << shownRows().join('\n').toStdString();
}

TEST_F(AntivirusMonitorPluginTest, HeartbeatDiaryShowsOneRowPerDay)
{
    const std::int64_t twoDaysBack = m_journal.SeedTime(0) - 2 * 24 * 3600 * 1000;
    ASSERT_TRUE(m_journal.Append(100217, twoDaysBack, u"hb"));
    ASSERT_TRUE(m_journal.Append(100217, twoDaysBack - 60000, u"hb"));
    std::map<QString, std::pair<int, std::int64_t>, std::greater<>> days;
    for (const std::int64_t time : {m_journal.SeedTime(0), m_journal.SeedTime(1),
                                    m_journal.SeedTime(2), twoDaysBack, twoDaysBack - 60000}) {
        auto& day = days[DayText(time)];
        ++day.first;
        day.second = std::max(day.second, time);
    }
    QList<QStringList> expected;
    for (const auto& [day, entry] : days) {
        expected.append({day, QString("%1次").arg(entry.first),
                         QString("最后活跃时间 ：%1").arg(TimeText(entry.second))});
    }

    ASSERT_TRUE(m_host.page().loadLogModule());
    const QList<QWidget*> categories = ShowCategories(m_host.page());
    ASSERT_EQ(categories.size(), 5);
    QList<QStringList> shown;
    const ModalWatch seen([&](QDialog& dialog) {
        QWidget* table = FindOne(&dialog, "CTableWidget");
        ASSERT_NE(table, nullptr);
        WaitFor([&] { return AllRows(table) == expected; });
        shown = AllRows(table);
        Click(dialog.findChild<QWidget*>("ProgramDiaryDialogTitleClose"));
    });
    Click(categories[3]);
    ASSERT_TRUE(seen.seen());
    EXPECT_EQ(shown, expected);
}

struct SwitchAnswer
{
    const char* button;
    int frame;
};

void PrintTo(const SwitchAnswer& answer, std::ostream* out)
{
    *out << answer.button;
}

class IsolationSwitchTest : public AntivirusMonitorPluginTest,
                            public testing::WithParamInterface<SwitchAnswer>
{};

TEST_P(IsolationSwitchTest, TurningOnAsksAndKeepsTheAnswer)
{
    const QWidget& page = m_host.page();
    QWidget* switchButton = page.findChild<QWidget*>("AntivirusMonitorIsolationSwitch");
    ASSERT_NE(switchButton, nullptr);
    ASSERT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }));
    QSignalSpy clicked(switchButton, SIGNAL(clicked(bool)));

    QRect boxGeometry;
    bool bothButtons = false;
    const ModalWatch seen([&](QDialog& box) {
        boxGeometry = box.frameGeometry();
        auto* accept = box.findChild<QWidget*>("InfoMessageBoxAccept");
        auto* reject = box.findChild<QWidget*>("InfoMessageBoxReject");
        bothButtons =
            accept != nullptr && reject != nullptr && accept->isVisible() && reject->isVisible();
        Click(box.findChild<QWidget*>(GetParam().button));
        if (box.isVisible()) {
            box.reject();
        }
    });
    Click(switchButton);

    ASSERT_TRUE(seen.seen()) << "turning on asks for confirmation";
    EXPECT_TRUE(bothButtons);
    const QRect window = m_host.window().frameGeometry();
    EXPECT_EQ(boxGeometry.topLeft(),
              window.topLeft() + QPoint((window.width() - boxGeometry.width()) / 2,
                                        (window.height() - boxGeometry.height()) / 2))
        << "centred over the centre widget";
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, GetParam().frame); }));
    ASSERT_EQ(clicked.count(), 1) << "turning back emits nothing";
    EXPECT_EQ(clicked.first().first().toBool(), true);
    EXPECT_TRUE(Find(&page, "CInfoMessageBox").isEmpty()) << "the box is gone once answered";
    EXPECT_EQ(CountNewLogLines(LogLinePattern("TRACE", "AntivirusMonitorWidget.cpp",
                                              "AntivirusMonitorWidget::OnSwitchClicked",
                                              "switch turn:1")),
              1);
}

INSTANTIATE_TEST_SUITE_P(Answers, IsolationSwitchTest,
                         testing::Values(SwitchAnswer{"InfoMessageBoxAccept", kFrameOn},
                                         SwitchAnswer{"InfoMessageBoxReject", kFrameOff},
                                         SwitchAnswer{"InfoMessageBoxClose", kFrameOff}),
                         [](const testing::TestParamInfo<SwitchAnswer>& info) {
                             return std::string(info.param.button);
                         });

TEST_F(AntivirusMonitorPluginTest, TurningOffAsksNothing)
{
    QWidget* switchButton = m_host.page().findChild<QWidget*>("AntivirusMonitorIsolationSwitch");
    ASSERT_NE(switchButton, nullptr);
    const ModalWatch accepted(
        [](QDialog& box) { Click(box.findChild<QWidget*>("InfoMessageBoxAccept")); });
    Click(switchButton);
    ASSERT_TRUE(accepted.seen());
    ASSERT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOn); }));

    const ModalWatch asked([](QDialog& box) { box.reject(); });
    Click(switchButton);
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, kFrameOff); }));
    EXPECT_FALSE(asked.seen());
    EXPECT_EQ(CountNewLogLines(LogLinePattern("TRACE", "AntivirusMonitorWidget.cpp",
                                              "AntivirusMonitorWidget::OnSwitchClicked",
                                              "switch turn:0")),
              1);
}

// The host window active and `widget` focused as by Tab.
void FocusByTab(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    widget->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widget->window()));
    widget->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitFor([widget] { return widget->hasFocus(); }));
}

QString FocusName()
{
    const QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) {
        return "none";
    }
    return focused->objectName().isEmpty() ? focused->metaObject()->className()
                                           : focused->objectName();
}

TEST_F(AntivirusMonitorPluginTest, ArrowKeysOnTheRadioButtonsSwitchViews)
{
    const QWidget& page = m_host.page();
    const QList<QRadioButton*> radios = RadioButtons(page);
    ASSERT_EQ(radios.size(), 2);
    FocusByTab(radios[0]);

    QTest::keyClick(radios[0], Qt::Key_Right);
    EXPECT_TRUE(radios[1]->isChecked());
    EXPECT_TRUE(radios[1]->hasFocus());
    QWidget* byType = FindOne(&page, "ControlByClassWidget");
    ASSERT_NE(byType, nullptr);
    EXPECT_TRUE(byType->isVisible());

    QTest::keyClick(radios[1], Qt::Key_Left);
    EXPECT_TRUE(radios[0]->isChecked());
    EXPECT_TRUE(FindOne(&page, "ControlByDataWidget")->isVisible());
    EXPECT_FALSE(byType->isVisible());
}

TEST_F(AntivirusMonitorPluginTest, TabFollowsTheReadingOrderOfEachView)
{
    const QWidget& page = m_host.page();
    const QList<QRadioButton*> radios = RadioButtons(page);
    ASSERT_EQ(radios.size(), 2);
    FocusByTab(radios[0]);
    QStringList visited;
    for (int k = 0; k < 2; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << FocusName();
    }
    // One stop for the radio group (arrow keys move inside it), then the
    // switch, the date edit (Tab walks its sections first) and the list.
    ASSERT_EQ(visited.value(0), "AntivirusMonitorIsolationSwitch");
    EXPECT_EQ(visited.value(1), "DataWidgetControl");
    for (int k = 0; k < 5 && FocusName() == "DataWidgetControl"; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(FocusName(), "CProgramDiaryListWidget");

    Click(radios[1]);
    FocusByTab(page.findChild<QWidget*>("AntivirusMonitorIsolationSwitch"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "CIconButton") << "the first category follows the switch";
    const QWidget* first = QApplication::focusWidget();
    EXPECT_EQ(first, Find(FindOne(&page, "ControlByClassWidget"), "CIconButton").value(0));
}

class SpaceOnSwitchTest : public AntivirusMonitorPluginTest,
                          public testing::WithParamInterface<SwitchAnswer>
{};

TEST_P(SpaceOnSwitchTest, SpaceAsksAsAClickDoesAndTheCheckBoxFollows)
{
    QWidget* switchButton = m_host.page().findChild<QWidget*>("AntivirusMonitorIsolationSwitch");
    FocusByTab(switchButton);
    QAccessibleInterface* const face = QAccessible::queryAccessibleInterface(switchButton);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::CheckBox);
    EXPECT_EQ(face->text(QAccessible::Name), QString::fromUtf8("信息隔离模式"));
    EXPECT_FALSE(face->state().checked);
    QSignalSpy clicked(switchButton, SIGNAL(clicked(bool)));

    const ModalWatch seen([](QDialog& box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_TRUE(box.isVisible()) << "the information box ignores Esc";
        Click(box.findChild<QWidget*>(GetParam().button));
    });
    QTest::keyClick(switchButton, Qt::Key_Space);

    ASSERT_TRUE(seen.seen()) << "Space asks for confirmation";
    EXPECT_TRUE(WaitFor([&] { return ShowsFrame(switchButton, GetParam().frame); }));
    EXPECT_EQ(face->state().checked, GetParam().frame == kFrameOn)
        << "checked while isolation is on";
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_TRUE(clicked.first().first().toBool());
}

INSTANTIATE_TEST_SUITE_P(Answers, SpaceOnSwitchTest,
                         testing::Values(SwitchAnswer{"InfoMessageBoxAccept", kFrameOn},
                                         SwitchAnswer{"InfoMessageBoxReject", kFrameOff}),
                         [](const testing::TestParamInfo<SwitchAnswer>& info) {
                             return std::string(info.param.button);
                         });

TEST_F(AntivirusMonitorPluginTest, TwoCallsGiveTwoWorkingPages)
{
    Host second;
    EXPECT_NE(&second.page(), &m_host.page());
    EXPECT_EQ(second.page().styleSheet(), m_host.page().styleSheet())
        << "one copy of each sheet per page";
    for (const Host* host : {&m_host, &second}) {
        const QList<QRadioButton*> radios = RadioButtons(host->page());
        ASSERT_EQ(radios.size(), 2);
        Click(radios[1]);
        QWidget* byType = FindOne(&host->page(), "ControlByClassWidget");
        ASSERT_NE(byType, nullptr);
        EXPECT_TRUE(byType->isVisible());
        EXPECT_EQ(Find(byType, "CIconButton").size(), 5);
    }
}

TEST_F(AntivirusMonitorPluginTest, LoadsTheLogModuleBesideTheProgram)
{
    EXPECT_TRUE(m_host.page().loadLogModule());
    EXPECT_EQ(CountNewLogLines(LogLinePattern("DEBUG", "CLogModuleLib.cpp",
                                              "CLogModuleLib::LoadSdk", "LoadSdk\\.")),
              1);
    EXPECT_EQ(CountNewLogLines(LogLinePattern("ERROR", ".*", ".*", ".*")), 0);
}

TEST_F(AntivirusMonitorPluginTest, LogsIntoTheLogDirectoryWithLevelAndSizeFromTheSettings)
{
    QSettings settings(QDir(Directory()).filePath("UiCommonSetting.ini"), QSettings::IniFormat);
    EXPECT_EQ(settings.value("Log/Level").toInt(), 5);
    EXPECT_EQ(settings.value("Log/Size").toInt(), 10);

    // Level 5 admits INFO: the second page's log set-up reports the level.
    const Host second;
    EXPECT_GE(CountNewLogLines(LogLinePattern("INFO", "CommonUtils.cpp",
                                              "CommonUtils::Set_Log_Level", "Set log level: 5")),
              1);
}

} // namespace
