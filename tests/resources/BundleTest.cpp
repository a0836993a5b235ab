// The compiled-in bundle: every file is reachable under its resource path,
// the resource XML holds every identifier the library reads, and every image
// loads at the size its users draw it with.

#include <QApplication>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// One `s` element as the pools see it: text and the object or image attribute.
struct Entry
{
    std::string text;
    std::string attribute;
};
using Entries = std::map<int, Entry>;

struct Expected
{
    int id;
    const char* text;
    const char* attribute;
};

QDomDocument ReadDocument(const QString& path)
{
    QFile file(path);
    QDomDocument document;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        document.setContent(&file);
    }
    return document;
}

Entries ReadEntries(const QString& path, const QString& attribute)
{
    Entries entries;
    const QDomElement root = ReadDocument(path).documentElement();
    for (QDomElement s = root.firstChildElement("s"); !s.isNull(); s = s.nextSiblingElement("s")) {
        entries[s.attribute("id").toInt()] = {s.text().toStdString(),
                                              s.attribute(attribute).toStdString()};
    }
    return entries;
}

void ExpectEntries(const Entries& entries, const Expected* expected, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const auto found = entries.find(expected[i].id);
        ASSERT_NE(found, entries.end()) << "id " << expected[i].id;
        EXPECT_EQ(found->second.text, expected[i].text) << "id " << expected[i].id;
        EXPECT_EQ(found->second.attribute, expected[i].attribute) << "id " << expected[i].id;
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
    const Entries entries = ReadEntries(":/xml/AMtext.xml", "object");
    EXPECT_EQ(entries.size(), std::size(kPageTexts));
    ExpectEntries(entries, kPageTexts, std::size(kPageTexts));
}

TEST(BundleTest, ControlLibraryTextsHoldEveryIdentifier)
{
    const Entries entries = ReadEntries(":/base_ui_xml/base_ui_text.xml", "object");
    EXPECT_EQ(entries.size(), 37u);
    ExpectEntries(entries, kBaseUiTexts, std::size(kBaseUiTexts));
    // The two dialogs that this library does not contain keep their entries.
    for (int id = 5007; id <= 5021; ++id) {
        EXPECT_EQ(entries.count(id), 1u) << "id " << id;
    }
    for (int id = 1000001; id <= 1000008; ++id) {
        EXPECT_EQ(entries.count(id), 1u) << "id " << id;
    }
}

TEST(BundleTest, ImageFilesNameEveryImage)
{
    const Entries page = ReadEntries(":/xml/AMImage.xml", "image");
    EXPECT_EQ(page.size(), std::size(kPageImages));
    ExpectEntries(page, kPageImages, std::size(kPageImages));

    const Entries baseUi = ReadEntries(":/base_ui_xml/base_ui_pixmap.xml", "image");
    EXPECT_EQ(baseUi.size(), std::size(kBaseUiImages));
    ExpectEntries(baseUi, kBaseUiImages, std::size(kBaseUiImages));
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
    std::map<int, QDomElement> items;
    const QDomElement root = ReadDocument(":/xml/safe_tools.xml").documentElement();
    EXPECT_EQ(root.tagName(), "items");
    for (QDomElement item = root.firstChildElement("item"); !item.isNull();
         item = item.nextSiblingElement("item")) {
        items[item.attribute("id").toInt()] = item;
    }
    EXPECT_GT(items.size(), std::size(rows));
    for (const Row& row : rows) {
        const QDomElement item = items[row.id];
        ASSERT_FALSE(item.isNull()) << row.id;
        EXPECT_EQ(item.attribute("showText").toStdString(), row.showText);
        EXPECT_TRUE(item.hasAttribute("FileName"));
        EXPECT_TRUE(item.attribute("FileName").isEmpty());
        EXPECT_EQ(item.attribute("imgPath").toStdString(),
                  std::string("://src_personal/images/png/icons/tools_pix/") + row.icon);
    }
}

TEST(BundleTest, StyleVariablesDefineEveryName)
{
    const std::map<QString, QString> expected = {
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
    std::map<QString, QString> variables;
    const QDomElement root = ReadDocument(":/base_ui_xml/base_ui_style.xml").documentElement();
    for (QDomElement s = root.firstChildElement("s"); !s.isNull(); s = s.nextSiblingElement("s")) {
        variables[s.attribute("name")] = s.attribute("value");
    }
    EXPECT_EQ(variables, expected);
}

// A label with `objectName` under a parent that carries `sheet`, as styled.
struct StyledLabel
{
    QString color;
    int pixelSize;
    bool bold;
};

StyledLabel Style(const QString& sheet, const QString& objectName)
{
    QWidget parent;
    parent.setStyleSheet(sheet);
    QLabel label("text", &parent);
    label.setObjectName(objectName);
    label.ensurePolished();
    return {label.palette().color(QPalette::WindowText).name(QColor::HexArgb),
            label.font().pixelSize(), label.font().bold()};
}

TEST(BundleTest, PageSheetStylesTheLabels)
{
    QFile file(":/xml/AMstyle.css");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString sheet = QString::fromLatin1(file.readAll());

    struct Case
    {
        const char* objectName;
        const char* color;
        int pixelSize;
        bool bold;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        const StyledLabel styled = Style(sheet, c.objectName);
        EXPECT_EQ(styled.color.toStdString(), c.color) << c.objectName;
        EXPECT_EQ(styled.pixelSize, c.pixelSize) << c.objectName;
        EXPECT_EQ(styled.bold, c.bold) << c.objectName;
    }
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
