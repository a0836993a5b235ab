// Text wrapping to a pixel width and reading XML attributes.

#include "base_ui/utils/CommonUtils.h"

#include <QDomDocument>
#include <QFont>
#include <QFontMetrics>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Metrics of a fixed-pitch font: every character is `Advance()` wide.
class WrapFixedFontTest : public testing::Test
{
protected:
    static QFont FixedFont()
    {
        QFont font(QStringLiteral("WenQuanYi Micro Hei Mono"));
        font.setPixelSize(20);
        return font;
    }

    void SetUp() override
    {
        ASSERT_GT(Advance(), 1);
        ASSERT_EQ(m_metrics.horizontalAdvance("abcdefghij"), 10 * Advance())
            << "the font is not fixed-pitch";
    }

    int Advance() const { return m_metrics.horizontalAdvance(QLatin1Char('a')); }

    QString Wrap(const QString& text, int maxWidth) const
    {
        return CommonUtils::wrapTextByWidth(text, maxWidth, m_metrics, "|");
    }

    const QFontMetrics m_metrics{FixedFont()};
};

TEST_F(WrapFixedFontTest, TextUpToTheWidthIsUnchanged)
{
    const int width = 4 * Advance();
    EXPECT_EQ(Wrap("abcd", width), "abcd");
    EXPECT_EQ(Wrap("abc", width), "abc");
    EXPECT_EQ(Wrap("", width), "");
}

TEST_F(WrapFixedFontTest, LinesAreTheShortestRunsReachingTheWidth)
{
    struct Case
    {
        int width;
        const char* text;
        const char* wrapped;
    };
    const int a = Advance();
    const Case cases[] = {
        {4 * a, "abcdefghij", "abcd|efgh|ij"},
        {4 * a, "abcdefgh", "abcd|efgh"}, // no separator after the last line
        {4 * a, "abcde", "abcd|e"},
        {4 * a - 1, "abcdefghij", "abcd|efgh|ij"}, // wider than the maximum by part of a character
        {4 * a + 1, "abcdefghij", "abcde|fghij"},
        {0, "abc", "a|b|c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.width));
        EXPECT_EQ(Wrap(c.text, c.width), c.wrapped);
    }
}

TEST_F(WrapFixedFontTest, SeparatorIsTheCallersText)
{
    EXPECT_EQ(CommonUtils::wrapTextByWidth("abcdefghij", 4 * Advance(), m_metrics, "\n"),
              "abcd\nefgh\nij");
    EXPECT_EQ(CommonUtils::wrapTextByWidth("abcdefghij", 4 * Advance(), m_metrics, "<br>"),
              "abcd<br>efgh<br>ij");
}

TEST_F(WrapFixedFontTest, SurrogatePairsStayWhole)
{
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two code units
    ASSERT_GE(m_metrics.horizontalAdvance(face), 1);
    const QString text = face + face + face;
    EXPECT_EQ(CommonUtils::wrapTextByWidth(text, 1, m_metrics, "|"),
              face + "|" + face + "|" + face);
}

// With a proportional font every line but the last reaches the width, and
// no line would without its last character.
TEST(WrapProportionalFontTest, LinesReachTheWidthByTheirLastCharacter)
{
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(13);
    const QFontMetrics metrics(font);
    const QString text = QString::fromUtf8(
        "Scanned C:\\Program Files\\tool.exe: 未发现威胁 (no threat found), 1234567890 iiii WWWW");

    for (const int width : {20, 57, 100, 300}) {
        SCOPED_TRACE(width);
        const QStringList lines =
            CommonUtils::wrapTextByWidth(text, width, metrics, "\n").split('\n');
        EXPECT_EQ(lines.join(QString()), text);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            ASSERT_FALSE(line.isEmpty());
            EXPECT_LT(metrics.horizontalAdvance(line.chopped(1)), width) << line.toStdString();
            if (i + 1 < lines.size()) {
                EXPECT_GE(metrics.horizontalAdvance(line), width) << line.toStdString();
            }
        }
    }
}

TEST(ReadXmlAttributeTest, PresentAttributesAreReadMissingOnesLeaveTheValue)
{
    QDomDocument document;
    ASSERT_TRUE(document.setContent(
        QByteArray(R"(<item id="100218" empty="" showText="执行扫描" FileName="tool.exe"/>)")));
    const QDomElement element = document.documentElement();

    struct Case
    {
        const char* name;
        bool found;
        const char* value;
    };
    const Case cases[] = {
        {"id", true, "100218"},          {"empty", true, ""},
        {"showText", true, "执行扫描"},  {"FileName", true, "tool.exe"},
        {"missing", false, "untouched"}, {"filename", false, "untouched"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString value = "untouched";
        EXPECT_EQ(CommonUtils::readXmlAttribute(element, c.name, value), c.found);
        EXPECT_EQ(value, QString::fromUtf8(c.value));
    }
}

TEST(ReadXmlAttributeTest, NullElementHasNoAttributes)
{
    QString value = "untouched";
    EXPECT_FALSE(CommonUtils::readXmlAttribute(QDomElement(), "id", value));
    EXPECT_EQ(value, "untouched");
}

} // namespace
