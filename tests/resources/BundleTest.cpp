// The compiled-in bundle: every file is reachable under its resource path,
// the resource XML holds every identifier the library reads, and every image
// loads at the size its users draw it with.

#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoQssPool.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/CLoadStyle.h"
#include "widgets/safetools/CKoSafeToolsPool.h"

#include "TestDirectory.h"

#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Expected
{
    int id;
    const char* text;
    const char* attribute; // object name, or image path in the pixmap pool
};

// Number of entries (`s` elements) of a resource XML file.
int CountEntries(const QString& path)
{
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
        return -1;
    }
    return document.elementsByTagName("s").size();
}

void ExpectTexts(const CKoStringPool& pool, const Expected* expected, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        ResourceEntry entry;
        pool.Lookup(expected[i].id, entry);
        EXPECT_EQ(entry.text, expected[i].text) << "id " << expected[i].id;
        EXPECT_EQ(entry.object, expected[i].attribute) << "id " << expected[i].id;
    }
}

void ExpectImages(const CKoPixmapPool& pool, const Expected* expected, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        ResourceEntry entry;
        ASSERT_EQ(pool.Lookup(expected[i].id, entry), 0) << "id " << expected[i].id;
        EXPECT_EQ(entry.image, expected[i].attribute) << "id " << expected[i].id;
    }
}

const Expected kPageTexts[] = {
    {4000, "Korvan杀毒行为监控", "antivirTitle"},
    {4001, "按时间查看", ""},
    {4002, "按类型查看", ""},
    {4003, "#393164", ""},
    {4004, "#716d8b", ""},
    {4005, "#f2fbff", ""},
    {4006, "#55c7ff", ""},
    {4007, "信息隔离模式", ""},
    {4008,
     "开启信息隔离，将关闭您和云端的所有交互，网络空间无法获得您使用本程序的所有信息，"
     "您将无法获得云端为您提供的所有服务（包含专业化的定制服务）",
     ""},
    {4009, "取消", ""},
    {4010, "开启", ""},
    {4011, "无法连接到客户端服务，信息隔离模式未更改。", ""},
    {110000, "程序启动", "PROGRAM_DIARY_TITLE_LABEL"},
    {110001, "时间", ""},
    {110002, "说明", ""},
    {110003, "操作", ""},
    {110004, "查看", "PROGRAM_DIARY_SEE_BTN"},
    {110005,
     "您可以在此查看程序启动时上报的信息，此信息用于标识您\n的身份，以及未来为您提供个性化的专属解"
     "决方案",
     "PROGRAM_DIARY_EXPLAIN_LABEL"},
    {110100, "发现勒索程序", "PROGRAM_DIARY_TITLE_LABEL"},
    {110101, "时间", ""},
    {110102, "说明", ""},
    {110103, "操作", ""},
    {110104, "查看", "PROGRAM_DIARY_SEE_BTN"},
    {110105, "您可以在此查看程序上报的防御结果，此信息用于溯源该勒\n索威胁的入侵渠道",
     "PROGRAM_DIARY_EXPLAIN_LABEL"},
    {110200, "下载更新包", "PROGRAM_DIARY_TITLE_LABEL"},
    {110201, "时间", ""},
    {110202, "版本号", ""},
    {110203, "更新说明", ""},
    {110204, "查看", "PROGRAM_DIARY_SEE_BTN"},
    {110205, "您可以在此查看下载时上报的信息", "PROGRAM_DIARY_EXPLAIN_LABEL"},
    {110300, "心跳上报时间", "PROGRAM_DIARY_TITLE_LABEL"},
    {110301, "时间", ""},
    {110302, "次数", ""},
    {110303, "您可以在此查看所有的心跳上报信息，仅提交最后活跃\n时间，此信息用于确认程序存活",
     "PROGRAM_DIARY_EXPLAIN_LABEL"},
    {110304, "说明", ""},
    {110400, "执行扫描", "PROGRAM_DIARY_TITLE_LABEL"},
    {110401, "时间", ""},
    {110402, "类别", ""},
    {110403, "说明", ""},
    {110404, "操作", ""},
    {110405, "查看", "PROGRAM_DIARY_SEE_BTN"},
    {110406,
     "您可以在此查看上报的扫描结果，此信息用于分析您当前\n所处的网络环境，为您定制最优的防护方案",
     "PROGRAM_DIARY_EXPLAIN_LABEL"},
    {110500, "清空", ""},
    {110501, "关闭", ""},
    {110502, "全部", ""},
    {110503, "今天", ""},
    {110504, "最近三天", ""},
    {110505, "最近一周", ""},
    {110506, "最近一个月", ""},
    {110507, "自定义", ""},
    {110508, "选择查看某一天或某段日期的日志：", ""},
    {110509, "查看某一天的日志", ""},
    {110510, "查看某时段时期的日志", ""},
    {110511, "", "PROGRAM_DIARY_COMBOBOX"},
    {110512, "信息", "PROGRAM_DIARY_LIST_LABEL_INFO"},
    {110513, "", "PROGRAM_DIARY_LIST_LABEL_TYPE"},
    {110514, "", "PROGRAM_DIARY_LIST_LABEL_TIME"},
    {110515, "", "PROGRAM_DIARY_LIST_LABEL_NUM"},
    {110516, "确认", ""},
    {110517, "取消", ""},
    {110518, "选择具体日期", "PROGRAM_DIARY_SELECT_DIALOG_TITLE"},
    {110519, "查看", "PROGRAM_DIARY_SEE_BTN"},
    {110520, "%1次", ""},
    {110521, "最后活跃时间 ：%1", ""},
    {110522, "清空记录", ""},
    {110523, "确定要清空本类的全部记录吗？清空后无法恢复。", ""},
    {110524, "无法清空记录，记录未更改。", ""},
    {110525, "导出为CSV…", ""},
    {110526, "无法导出记录：%1", ""},
    {110540, "日志模块已停止，不会再收到新的记录。", ""},
    {110600, "#0092f5", ""},
    {110601, "#e3effe", ""},
    {110602, "#f0f0f0", ""},
    {110603, "#ffffff", ""},
    {110604, "#fafbfb", ""},
    {110605, "#000000", ""},
    {110606, "#716d88", ""},
    {110607, "#b4aeae", ""},
    {110608, "#fcfcfc", ""},
    {110609, "#00a6f7", ""},
    {110610, "#4b4773", ""},
    {110611, "#393164", ""},
    {100000000, "2020-10-27 15:00:00", ""},
    {100000001, "程序启动上报基础信息", ""},
    {100000002, "查看", ""},
    {100000003, "威胁名 处理结果", ""},
    {100000004, "升级说明", ""},
    {100000005, "2020-10-27", ""},
    {100000006, "12次", ""},
    {100000007, "最后活跃时间 ：2020-10-27 15:00:00", ""},
    {100000008, "快速扫描", ""},
    {100000009, "扫描上报基础信息", ""},
    {100000010, "2020-10-27 21:13:14", ""},
    {100000011,
     "心跳时间会短时间频繁上报,用于确认服务器与云端相连，以及程序稳定情况，为了方便Korvan杀毒行为监"
     "控查看，仅显示启动后的第一次上报，具体信息可在分类中的“心跳上报”中查看",
     ""},
    {100000012, "信息", ""},
    {20000, "最后活跃时间：", ""},
    {20001, "IP地址：", ""},
    {20002, "MAC地址：", ""},
    {20003, "CPU：", ""},
    {20004, "内存：", ""},
    {20005, "硬盘：", ""},
    {20006, "硬盘序列号：", ""},
    {20007, "CPU利用率：", ""},
    {20008, "内存利用率：", ""},
    {20009, "磁盘利用率：", ""},
    {20010, "操作系统：", ""},
    {20011, "系统位数：", ""},
    {20012, "主板：", ""},
    {20013, "KING-2035T声卡：", ""},
    {20014, "显卡：", ""},
    {20015, "光驱：", ""},
    {20016, "查看详情", ""},
    {20017, "导出", ""},
    {20018, "关闭", ""},
    {20019, "时间：", ""},
    {20020, "扫描类型：", ""},
    {20021, "扫描结果：", ""},
    {20022, "威胁名称：", ""},
    {20023, "处理方式：", ""},
    {20024, "版本号：", ""},
    {20025, "更新说明：", ""},
    {20026, "该记录已不存在，可能已被清空。", ""},
    {20027, "日志模块无法提供该记录的详情。", ""},
    {20028, "导出失败：%1", ""},
    {20029, "文本文件 (*.txt)", ""},
    {20030, "说明：", ""},
};

const Expected kBaseUiTexts[] = {
    {5000, "Korvan杀毒", "ListItemLabelStatePersional"},
    {5001, "如您确定关闭，请输入正确的关闭密码", "PasswdContent"},
    {5002, "警告", "ListItemLabelStatePersional"},
    {5003, "提示", "ListItemLabelStatePersional"},
    {5004, "确认", ""},
    {5005, "取消", ""},
    {5006, "密码错误！", "WrongPasswd"},
    {5011, "允许Halvern以超级用户执行。", "LabelDescrpt"},
    {5022, "#00a6f7", ""},
    {5023, "#ffffff", ""},
    {5024, "#393164", ""},
    {5025, "4", ""},
    {5026, "35", ""},
    {5027, "9", ""},
    {5028, "#00a6f7", ""},
    {1000004, "Korvan杀毒", "SingleDlgTitle"},
};

const Expected kPageImages[] = {
    {4100, "", ":/images/pix_data.png"},           {4101, "", ":/images/pix_switch.png"},
    {130000, "", ":/images/pix_btn_close.png"},    {130001, "", ":/images/pix_button.png"},
    {130002, "", ":/images/pix_down_arrow.png"},   {130003, "", ":/images/pix_radio_btn.png"},
    {130004, "", ":/images/pix_list_num.png"},     {130005, "", ":/images/pix_list_about.png"},
    {20000, "", ":/images/pix_button_cancel.png"},
};

const Expected kBaseUiImages[] = {
    {5000, "", ":/base_ui_image/CInfoMessageBox/hvn_icon.ico"},
    {5001, "", ":/base_ui_image/CInfoMessageBox/info_close.png"},
    {5002, "", ":/base_ui_image/CInfoMessageBox/pix_btn_blue.png"},
    {5003, "", ":/base_ui_image/CInfoMessageBox/pix_btn_orange.png"},
    {5004, "", ":/base_ui_image/CInfoMessageBox/pix_lock.png"},
    {5005, "", ":/base_ui_image/elevationprivailege/btn_close.png"},
    {5006, "", ":/base_ui_image/elevationprivailege/pix_elevation.png"},
    {5007, "", ":/base_ui_image/elevationprivailege/pix_cancel.png"},
    {5008, "", ":/base_ui_image/CInfoMessageBox/pix_orange_exclamation.png"},
    {5009, "", ":/base_ui_image/CInfoMessageBox/pix_orange_fail.png"},
    {5010, "", ":/base_ui_image/CInfoMessageBox/pix_blue_success.png"},
    {5011, "", ":/base_ui_image/CInfoMessageBox/pix_blue_ask.png"},
    {5012, "", ":/base_ui_image/CInfoMessageBox/pix_usr_icon.png"},
    {2000001, "", ":/base_ui_image/singleApp/btn_close.png"},
    {2000002, "", ":/base_ui_image/singleApp/hvn_icon.ico"},
    {2000003, "", ":/base_ui_image/singleApp/pix_blue.png"},
    {2000004, "", ":/base_ui_image/singleApp/pix_orange.png"},
};

TEST(BundleTest, PageTextsHoldEveryIdentifier)
{
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(":/xml/AMtext.xml"), 0);
    EXPECT_EQ(CountEntries(":/xml/AMtext.xml"), static_cast<int>(std::size(kPageTexts)));
    ExpectTexts(pool, kPageTexts, std::size(kPageTexts));
}

TEST(BundleTest, ControlLibraryTextsHoldEveryIdentifier)
{
    CKoStringPool pool;
    ASSERT_EQ(pool.Load(":/base_ui_xml/base_ui_text.xml"), 0);
    EXPECT_EQ(CountEntries(":/base_ui_xml/base_ui_text.xml"), 37);
    ExpectTexts(pool, kBaseUiTexts, std::size(kBaseUiTexts));

    // The entries of the two dialogs that this library does not contain.
    std::vector<int> others;
    for (int id = 5007; id <= 5021; ++id) {
        others.push_back(id);
    }
    for (int id = 1000001; id <= 1000008; ++id) {
        others.push_back(id);
    }
    for (const int id : others) {
        ResourceEntry entry;
        pool.Lookup(id, entry);
        EXPECT_FALSE(entry.text.empty() && entry.object.empty()) << "id " << id;
    }
}

TEST(BundleTest, ImageFilesNameEveryImage)
{
    CKoPixmapPool page;
    ASSERT_EQ(page.Load(":/xml/AMImage.xml"), 0);
    EXPECT_EQ(CountEntries(":/xml/AMImage.xml"), static_cast<int>(std::size(kPageImages)));
    ExpectImages(page, kPageImages, std::size(kPageImages));

    CKoPixmapPool baseUi;
    ASSERT_EQ(baseUi.Load(":/base_ui_xml/base_ui_pixmap.xml"), 0);
    EXPECT_EQ(CountEntries(":/base_ui_xml/base_ui_pixmap.xml"),
              static_cast<int>(std::size(kBaseUiImages)));
    ExpectImages(baseUi, kBaseUiImages, std::size(kBaseUiImages));
}

struct Image
{
    const char* path;
    int width;
    int height;
};

// The sizes that the controls divide into pictures or lay out around.
const Image kImages[] = {
    {":/images/pix_switch.png", 252, 22},   // six 42 x 22 frames, on to off
    {":/images/pix_btn_close.png", 96, 24}, // four 24 x 24 states
    {":/images/pix_button.png", 280, 30},   // four 70 x 30 states
    {":/images/pix_button_cancel.png", 280, 30},
    {":/images/pix_data.png", 16, 16},
    {":/images/pix_down_arrow.png", 12, 8},
    {":/images/pix_list_about.png", 28, 14}, // two 14 x 14 frames
    {":/images/pix_list_num.png", 32, 32},
    {":/images/pix_radio_btn.png", 32, 16}, // unchecked, checked
    {":/images/asc.png", 9, 6},             // sort indicators
    {":/images/desc.png", 9, 6},
    {":/base_ui_image/CInfoMessageBox/hvn_icon.ico", 32, 32},
    {":/base_ui_image/CInfoMessageBox/info_close.png", 96, 24},
    {":/base_ui_image/CInfoMessageBox/pix_btn_blue.png", 280, 30},
    {":/base_ui_image/CInfoMessageBox/pix_btn_orange.png", 280, 30},
    {":/base_ui_image/CInfoMessageBox/pix_lock.png", 12, 14},
    {":/base_ui_image/CInfoMessageBox/pix_orange_exclamation.png", 32, 32},
    {":/base_ui_image/CInfoMessageBox/pix_orange_fail.png", 32, 32},
    {":/base_ui_image/CInfoMessageBox/pix_blue_success.png", 32, 32},
    {":/base_ui_image/CInfoMessageBox/pix_blue_ask.png", 32, 32},
    {":/base_ui_image/CInfoMessageBox/pix_usr_icon.png", 32, 32},
};

TEST(BundleTest, EveryImageLoadsAtItsSize)
{
    for (const Image& expected : kImages) {
        const QImage image(expected.path);
        ASSERT_FALSE(image.isNull()) << expected.path;
        EXPECT_EQ(image.size(), QSize(expected.width, expected.height)) << expected.path;
    }
}

TEST(BundleTest, ImagesOutsideTheBundleLoadNothing)
{
    for (const Expected& entry : {kBaseUiImages[5], kBaseUiImages[13]}) {
        EXPECT_TRUE(QImage(entry.attribute).isNull()) << entry.attribute;
    }
}

TEST(BundleTest, CatalogueHoldsTheCategoryRows)
{
    struct Row
    {
        int id;
        const char* showText;
        const char* icon;
    };
    const Row rows[] = {
        {100216, "Korvan杀毒行为监控,记录本程序的联网行为", "pic_start.png"},
        {100217, "心跳时间上报", "pix_heart.png"},
        {100218, "执行扫描", "pix_scan.png"},
        {100219, "发现勒索程序", "pix_virus.png"},
        {100220, "下载更新包", "pix_download.png"},
        {100221, "程序启动", "pix_logreport.png"},
    };
    CKoSafeToolsPool pool;
    ASSERT_EQ(pool.Load(":/xml/safe_tools.xml"), 0);
    for (const Row& row : rows) {
        const auto item = pool.Find(std::to_string(row.id));
        ASSERT_TRUE(item.has_value()) << row.id;
        EXPECT_EQ(item->id, row.id);
        EXPECT_EQ(item->showText, row.showText);
        EXPECT_EQ(item->FileName, "");
        EXPECT_EQ(item->imgPath,
                  std::string("://src_personal/images/png/icons/tools_pix/") + row.icon);
    }
}

TEST(BundleTest, StyleVariablesDefineEveryName)
{
    const std::pair<const char*, const char*> expected[] = {
        {"baseStyleWhite1", "#393164"},
        {"baseStyleWhite2", "rgba(255,255,255,80%)"},
        {"baseStyleWhite3", "rgba(255,255,255,50%)"},
        {"baseStyleWhite4", "#E4E4E4"},
        {"baseStyleWhite5", "rgba(32,34,44,30%)"},
        {"baseStyleWhite6", "rgba(255,255,255,40%)"},
        {"baseStyleWhite7", "rgba(158,166,193,70%)"},
        {"baseStyleWhite8", "#ffffff"},
        {"baseStyleRed1", "red"},
        {"baseStyleRed2", "#F8412D"},
        {"baseStyleBlue1", "#0c1b36"},
        {"baseStyleBlue2", "#498dfa"},
        {"baseStyleBlue3", "#1a264b"},
    };
    ASSERT_TRUE(CLoadStyle::loadXml(":/base_ui_xml/base_ui_style.xml"));
    const TestDirectory dir;
    for (const auto& [name, value] : expected) {
        QString substituted;
        const QString sheet = dir.Write("uses.css", QByteArray("<%") + name + "%>");
        ASSERT_TRUE(CLoadStyle::replaceStyle(sheet, substituted));
        EXPECT_EQ(substituted.toStdString(), std::string("<") + value + ">") << name;
    }
}

// The page's sheet as the page builds it: AMstyle.css, then the substituted
// base_ui.css.
QString PageStyleSheet()
{
    const std::string before = CKoQssPool::Get().Text();
    EXPECT_EQ(CKoQssPool::LoadQss(":/xml/AMstyle.css"), 0);
    const std::string page = CKoQssPool::Get().Text().substr(before.size());
    QString baseUi;
    EXPECT_TRUE(CLoadStyle::loadStyleSheet(":/base_ui_xml/base_ui_style.xml",
                                           ":/base_ui_xml/base_ui.css", baseUi));
    EXPECT_FALSE(baseUi.contains("%baseStyle")) << baseUi.toStdString();
    return QString::fromLatin1(page.c_str()) + baseUi;
}

struct Styled
{
    QString color;
    int pixelSize;
    bool bold;
};

// How `sheet`, set on a parent, styles a child of type W named `objectName`.
template <typename W>
Styled Style(const QString& sheet, const QString& objectName, QPalette::ColorRole role)
{
    QWidget parent;
    parent.setStyleSheet(sheet);
    W child(&parent);
    child.setObjectName(objectName);
    child.ensurePolished();
    return {child.palette().color(role).name(QColor::HexArgb), child.font().pixelSize(),
            child.font().bold()};
}

struct StyleCase
{
    const char* objectName;
    const char* color; // #aarrggbb
    int pixelSize;
    bool bold;
};

void ExpectLabels(const QString& sheet, const StyleCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const StyleCase& c = cases[i];
        const Styled styled = Style<QLabel>(sheet, c.objectName, QPalette::WindowText);
        EXPECT_EQ(styled.color.toStdString(), c.color) << c.objectName;
        EXPECT_EQ(styled.pixelSize, c.pixelSize) << c.objectName;
        EXPECT_EQ(styled.bold, c.bold) << c.objectName;
    }
}

TEST(BundleTest, PageSheetStylesThePageLabels)
{
    const StyleCase cases[] = {
        {"antivirTitle", "#ff393163", 16, true},
        {"btntextStyle", "#ff393163", 12, false},
        {"PROGRAM_DIARY_TITLE_LABEL", "#ffffffff", 12, false},
        {"PROGRAM_DIARY_SELECT_DIALOG_TITLE", "#ffffffff", 12, false},
        {"PROGRAM_DIARY_EXPLAIN_LABEL", "#ff393164", 16, true},
        {"PROGRAM_DIARY_LIST_LABEL_INFO", "#ff615a83", 12, false},
        {"PROGRAM_DIARY_LIST_LABEL_TIME", "#ff615a83", 12, false},
        {"PROGRAM_DIARY_LIST_LABEL_TYPE", "#ff393164", 14, false},
        {"PROGRAM_DIARY_LIST_LABEL_NUM", "#ffffffff", 14, false},
    };
    ExpectLabels(PageStyleSheet(), cases, std::size(cases));
}

TEST(BundleTest, PageSheetStylesTheControlLibraryLabels)
{
    const StyleCase cases[] = {
        {"ListItemLabelState", "#ff393164", 12, false},
        {"ListItemLabelStateTitle", "#ff393164", 14, true},
        {"ListItemLabelStatePersional", "#ffffffff", 12, false},
        {"InfoContent", "#ccffffff", 12, false},
        {"WrongPasswd", "#ffff0000", 12, false},
        {"PasswdContent", "#ff393164", 14, true},
        {"LineEditPasswd", "#ffe4e4e4", 14, false},
        {"LabelTitle", "#ff393164", 12, false},
        {"SingleDlgTitle", "#ff393164", 12, false},
        {"SingleDlgLabelState", "#ff393164", 12, false},
        {"LabelDescrpt", "#ff393164", 12, true},
        {"LabelPass", "#66ffffff", 12, false},
        {"BtnText", "#b39ea6c1", 12, false},
        {"LabelWrongPass", "#fff8412d", 12, false},
    };
    ExpectLabels(PageStyleSheet(), cases, std::size(cases));
}

TEST(BundleTest, PageSheetStylesThePasswordEdits)
{
    struct EditCase
    {
        const char* objectName;
        const char* text;
        const char* background;
    };
    const EditCase cases[] = {
        {"LineEditPasswd", "#7fffffff", "#ff1a264b"},
        {"LineEditElevation", "#66ffffff", "#ff1a264b"},
        {"ELineEditElevation", "#ccffffff", "#ff1a264b"},
    };
    const QString sheet = PageStyleSheet();
    for (const EditCase& c : cases) {
        const Styled text = Style<QLineEdit>(sheet, c.objectName, QPalette::Text);
        const Styled background = Style<QLineEdit>(sheet, c.objectName, QPalette::Base);
        EXPECT_EQ(text.color.toStdString(), c.text) << c.objectName;
        EXPECT_EQ(text.pixelSize, 12) << c.objectName;
        EXPECT_EQ(background.color.toStdString(), c.background) << c.objectName;
    }
}

TEST(BundleTest, PageSheetStylesTheViewButton)
{
    const Styled styled =
        Style<QPushButton>(PageStyleSheet(), "PROGRAM_DIARY_SEE_BTN", QPalette::ButtonText);
    EXPECT_EQ(styled.color.toStdString(), "#ff0091f7");
    EXPECT_EQ(styled.pixelSize, 12);
}

TEST(BundleTest, PageSheetIsAscii)
{
    QFile file(":/xml/AMstyle.css");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    for (const char byte : file.readAll()) {
        ASSERT_GE(static_cast<signed char>(byte), 0);
    }
}

} // namespace
