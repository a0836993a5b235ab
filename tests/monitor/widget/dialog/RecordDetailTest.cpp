// The detail box of the journal's records, opened by mouse through the
// diary's view buttons with the log module beside this program: each
// category's box with its record's values, a record cleared meanwhile, and
// "导出" to a file, into a directory that does not exist, and cancelled.

#include "monitor/widget/dialog/RecordDetail.h"
#include "monitor/widget/dialog/CProgramDiaryDialog.h"
#include "monitor/widget/dialog/DiaryRows.h"
#include "monitor/widget/dialog/RecordDetailTesting.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailLabel.h"
#include "base_ui/controls/CHeader.h"
#include "base_ui/controls/CInfoMessageBox.h"
#include "base_ui/controls/CTableWidget.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"

#include "DiaryJournalFixture.h"
#include "LogCapture.h"
#include "ModalWatch.h"
#include "PageResources.h"
#include "WindowMouse.h"

#include "lib/TestJournal.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// One field of a box as it was shown.
struct ShownField
{
    QString name;
    QString value; // whole, from the tool tip
    QString shown; // as drawn, elided when long
};

// What clicking a view button opened.
struct Opened
{
    bool detailBox = false;
    std::vector<ShownField> fields;
    QString notice; // the texts of a notice box's labels, one after the other
};

QString LabelTexts(const QWidget& widget)
{
    QString texts;
    for (const QLabel* label : widget.findChildren<QLabel*>()) {
        texts += label->text() + "|";
    }
    return texts;
}

void ClickButton(const QWidget& parent, const char* name)
{
    const auto* button = parent.findChild<CCommonButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    WindowMouse::Click(button, QPoint(5, 5));
}

class RecordDetailTest : public DiaryJournalFixture
{
protected:
    void TearDown() override { RecordDetailTesting::SetSavePathAnswer(nullptr); }

    // The diary of `category`, shown, once it holds `rows` records.
    QPointer<CProgramDiaryDialog> OpenDiary(int category, int rows)
    {
        QPointer<CProgramDiaryDialog> dialog = CProgramDiaryDialog::create(category, &m_host);
        EXPECT_TRUE(dialog);
        if (dialog == nullptr) {
            return dialog;
        }
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        CTableWidget* table = dialog->findChild<CTableWidget*>();
        EXPECT_TRUE(WaitFor([&] { return table->rowCount() == rows; })) << table->rowCount();
        return dialog;
    }

    // Clicks the view button of the first row by mouse; `inBox` runs in the
    // detail box's event loop before the box is closed. A notice is answered
    // with its button.
    static Opened ClickFirstView(CProgramDiaryDialog& dialog,
                                 const std::function<void(CDetailMessageBox&)>& inBox = {})
    {
        Opened opened;
        const ModalWatch watch([&](QDialog& modal) {
            if (auto* box = qobject_cast<CDetailMessageBox*>(&modal)) {
                opened.detailBox = true;
                for (int index = 0; index < box->fieldCount(); ++index) {
                    const CDetailLabel* field = box->field(index);
                    opened.fields.push_back({field->name(), field->value(), field->shownValue()});
                }
                if (inBox) {
                    inBox(*box);
                }
                ClickButton(*box, "DetailMessageBoxClose");
            } else {
                opened.notice = LabelTexts(modal);
                ClickButton(modal, "InfoMessageBoxAccept");
            }
        });
        const CTableWidget* table = dialog.findChild<CTableWidget*>();
        QWidget* view = table->cellControl(table->header()->columnCount() - 1, 0);
        EXPECT_NE(view, nullptr);
        if (view != nullptr) {
            QTest::mouseClick(view, Qt::LeftButton, {}, view->rect().center());
        }
        return opened;
    }

    // Presses "导出" in `box` with `path` as the file chosen; returns the
    // texts of the notice it showed, if any.
    static QString Export(CDetailMessageBox& box, const QString& path)
    {
        RecordDetailTesting::SetSavePathAnswer([path] { return path; });
        QString notice;
        const ModalWatch watch([&notice](QDialog& modal) {
            notice = LabelTexts(modal);
            ClickButton(modal, "InfoMessageBoxAccept");
        });
        ClickButton(box, "DetailMessageBoxExport");
        return notice;
    }

    // Newer than the seeded records, so the diary shows it first.
    std::int64_t NewestTime() const { return m_journal.SeedTime(TestJournal::kPerCategory) + 5000; }

    TemporaryDirectory m_files;
};

struct DetailCase
{
    int category;
    std::vector<std::u16string> fields;
    std::vector<QString> names;
};

const QString kLongValue = "Mainboard of a rather long name, 1234567890";

std::vector<std::u16string> ProgramStartFields()
{
    std::vector<std::u16string> fields{u"启动"};
    for (int slot = 0; slot < 16; ++slot) {
        fields.push_back(u"value " + std::u16string(1, static_cast<char16_t>(u'A' + slot)));
    }
    fields[13] = kLongValue.toStdU16String(); // the mainboard's narrow slot
    return fields;
}

const std::vector<DetailCase>& DetailCases()
{
    static const std::vector<DetailCase> cases = {
        {RecordCategory::kProgramStart,
         ProgramStartFields(),
         {"最后活跃时间：", "IP地址：", "MAC地址：", "CPU：", "内存：", "硬盘：", "硬盘序列号：",
          "CPU利用率：", "内存利用率：", "磁盘利用率：", "操作系统：", "系统位数：", "主板：",
          "KING-2035T声卡：", "显卡：", "光驱："}},
        {RecordCategory::kExecuteScan,
         {u"全盘扫描", u"发现 2 个威胁，已全部处理"},
         {"时间：", "扫描类型：", "扫描结果："}},
        {RecordCategory::kRansomwareFound,
         {u"Ransom.Sample.7", u"已隔离"},
         {"时间：", "威胁名称：", "处理方式："}},
        {RecordCategory::kUpdatePackage,
         {u"5.2.1", u"修复若干问题，提升扫描速度"},
         {"时间：", "版本号：", "更新说明："}},
    };
    return cases;
}

class RecordDetailCategoryTest : public RecordDetailTest,
                                 public testing::WithParamInterface<DetailCase>
{};

void PrintTo(const DetailCase& c, std::ostream* out)
{
    *out << c.category;
}

} // namespace

TEST_P(RecordDetailCategoryTest, TheViewButtonShowsTheRecordsOwnValues)
{
    const DetailCase& c = GetParam();
    const std::int64_t time = NewestTime();
    ASSERT_TRUE(m_journal.Append(c.category, time, c.fields));
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(c.category, static_cast<int>(TestJournal::kPerCategory) + 1);
    ASSERT_TRUE(dialog);

    const Opened opened = ClickFirstView(*dialog);
    ASSERT_TRUE(opened.detailBox) << opened.notice.toStdString();
    std::vector<QString> values;
    if (c.category == RecordCategory::kProgramStart) {
        for (std::size_t slot = 1; slot <= 16; ++slot) {
            values.push_back(QString::fromStdU16String(c.fields[slot]));
        }
    } else {
        values = {QString::fromStdString(DiaryRows::TimeText(time)),
                  QString::fromStdU16String(c.fields[0]), QString::fromStdU16String(c.fields[1])};
    }
    ASSERT_EQ(opened.fields.size(), c.names.size());
    for (std::size_t i = 0; i < c.names.size(); ++i) {
        EXPECT_EQ(opened.fields[i].name, c.names[i]) << i;
        EXPECT_EQ(opened.fields[i].value, values[i]) << i;
        if (values[i] == kLongValue) {
            EXPECT_TRUE(opened.fields[i].shown.contains(QChar(0x2026))) << "elided";
        } else {
            EXPECT_EQ(opened.fields[i].shown, values[i]) << i;
        }
    }
    EXPECT_TRUE(dialog->findChildren<CDetailMessageBox*>().isEmpty()) << "deleted once closed";
    delete dialog.data();
}

INSTANTIATE_TEST_SUITE_P(Categories, RecordDetailCategoryTest, testing::ValuesIn(DetailCases()),
                         [](const testing::TestParamInfo<DetailCase>& info) {
                             return std::string(RecordCategory::Name(info.param.category));
                         });

TEST_F(RecordDetailTest, ARecordClearedMeanwhileShowsANotice)
{
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(RecordCategory::kExecuteScan, static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(m_journal.Clear(RecordCategory::kExecuteScan));
    const Opened opened = ClickFirstView(*dialog);
    EXPECT_FALSE(opened.detailBox);
    EXPECT_TRUE(opened.notice.contains("该记录已不存在，可能已被清空。"))
        << opened.notice.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    delete dialog.data();
}

TEST_F(RecordDetailTest, ExportWritesOneLinePerFieldInUtf8)
{
    const std::int64_t time = NewestTime();
    ASSERT_TRUE(m_journal.Append(RecordCategory::kUpdatePackage, time,
                                 std::vector<std::u16string>{u"5.2.1", u"第一行\r\n第二行\n三"}));
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(RecordCategory::kUpdatePackage, static_cast<int>(TestJournal::kPerCategory) + 1);
    ASSERT_TRUE(dialog);
    const QString path = QString::fromStdString((m_files.Path() / "导出.txt").string());
    QString notice;
    const Opened opened =
        ClickFirstView(*dialog, [&](CDetailMessageBox& box) { notice = Export(box, path); });
    ASSERT_TRUE(opened.detailBox);
    EXPECT_TRUE(notice.isEmpty()) << notice.toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string expected = "时间：" + DiaryRows::TimeText(time) +
                                 "\r\n"
                                 "版本号：5.2.1\r\n"
                                 "更新说明：第一行\\r\\n第二行\\n三\r\n";
    EXPECT_EQ(file.readAll().toStdString(), expected);
    delete dialog.data();
}

TEST_F(RecordDetailTest, AProgramStartRecordExportsItsTimeDescriptionAndSixteenFields)
{
    const std::int64_t time = NewestTime();
    ASSERT_TRUE(m_journal.Append(RecordCategory::kProgramStart, time, ProgramStartFields()));
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(RecordCategory::kProgramStart, static_cast<int>(TestJournal::kPerCategory) + 1);
    ASSERT_TRUE(dialog);
    const QString path = QString::fromStdString((m_files.Path() / "start.txt").string());
    ASSERT_TRUE(
        ClickFirstView(*dialog, [&](CDetailMessageBox& box) { Export(box, path); }).detailBox);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 19) << "eighteen lines and the empty rest";
    EXPECT_EQ(lines[0].toStdString(), "时间：" + DiaryRows::TimeText(time) + "\r");
    EXPECT_EQ(lines[1], "说明：启动\r");
    EXPECT_EQ(lines[2], "最后活跃时间：value A\r");
    EXPECT_EQ(lines[14], QString("主板：" + kLongValue + "\r").toUtf8()) << "whole, not elided";
    EXPECT_EQ(lines[17], "光驱：value P\r");
    EXPECT_TRUE(lines[18].isEmpty());
    delete dialog.data();
}

TEST_F(RecordDetailTest, AFailedWriteSaysWhyAndLeavesNoFile)
{
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(RecordCategory::kRansomwareFound, static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    const std::filesystem::path missing = m_files.Path() / "missing" / "record.txt";
    QString notice;
    ASSERT_TRUE(ClickFirstView(*dialog, [&](CDetailMessageBox& box) {
                    notice = Export(box, QString::fromStdString(missing.string()));
                }).detailBox);
    EXPECT_TRUE(notice.contains("导出失败：")) << notice.toStdString();
    EXPECT_GT(notice.size(), QString("导出失败：|").size()) << "with the reason";
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_NE(m_log.Text().find("cannot be exported to " + missing.string()), std::string::npos);
    EXPECT_NE(m_log.Text().find("[ERROR]"), std::string::npos);
    delete dialog.data();
}

TEST_F(RecordDetailTest, ACancelledFileDialogDoesNothing)
{
    const QPointer<CProgramDiaryDialog> dialog =
        OpenDiary(RecordCategory::kExecuteScan, static_cast<int>(TestJournal::kPerCategory));
    ASSERT_TRUE(dialog);
    QString notice;
    bool stillOpen = false;
    ASSERT_TRUE(ClickFirstView(*dialog, [&](CDetailMessageBox& box) {
                    notice = Export(box, QString());
                    stillOpen = box.isVisible() && QApplication::activeModalWidget() == &box;
                }).detailBox);
    EXPECT_TRUE(notice.isEmpty());
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(std::filesystem::is_empty(m_files.Path()));
    delete dialog.data();
}

TEST(RecordDetailTextTest, EachFieldIsOneNameValueLine)
{
    struct Case
    {
        QString name;
        QString value;
        std::string line;
    };
    const Case cases[] = {
        {"版本号：", "5.2.1", "版本号：5.2.1\r\n"},
        {"Version:", "5.2.1", "Version:5.2.1\r\n"},
        {"版本号", "5.2.1", "版本号：5.2.1\r\n"},
        {"说明：", "a\r\nb\rc\nd", "说明：a\\r\\nb\\rc\\nd\r\n"},
        {"路径：", "C:\\new\\file", "路径：C:\\new\\file\r\n"},
        {"空：", "", "空：\r\n"},
    };
    std::vector<CDetailMessageBox::Field> fields;
    std::string expected;
    for (const Case& c : cases) {
        EXPECT_EQ(RecordDetail::ExportText({{c.name, c.value}}).toStdString(), c.line)
            << c.name.toStdString();
        fields.push_back({c.name, c.value});
        expected += c.line;
    }
    EXPECT_EQ(RecordDetail::ExportText(fields).toStdString(), expected);
    EXPECT_TRUE(RecordDetail::ExportText({}).isEmpty());
}
