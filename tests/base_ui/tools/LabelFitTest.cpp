// Labels sized to their text through the shared sizes come out as
// adjustSize() sizes them, however the same text is shown.

#include "base_ui/tools/LabelFit.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

const QString kText = QString::fromUtf8("同一段文字 the same text");

struct LookCase
{
    const char* name;
    // The parent's style sheet; the label's object name is "styled".
    const char* sheet;
    std::function<void(QLabel&)> dress;
};

const std::vector<LookCase>& Cases()
{
    static const std::vector<LookCase> cases = {
        {"plain", "", [](QLabel&) {}},
        {"bigger font", "",
         [](QLabel& label) {
             QFont font = label.font();
             font.setPixelSize(22);
             label.setFont(font);
         }},
        {"bold", "",
         [](QLabel& label) {
             QFont font = label.font();
             font.setBold(true);
             label.setFont(font);
         }},
        {"margin", "", [](QLabel& label) { label.setMargin(7); }},
        {"indent", "",
         [](QLabel& label) {
             label.setIndent(11);
             label.setAlignment(Qt::AlignRight | Qt::AlignTop);
         }},
        {"contents margins", "", [](QLabel& label) { label.setContentsMargins(3, 4, 5, 6); }},
        {"frame", "", [](QLabel& label) { label.setFrameStyle(QFrame::Box | QFrame::Plain); }},
        {"word wrap", "",
         [](QLabel& label) {
             label.setWordWrap(true);
             label.setMinimumWidth(60);
         }},
        {"style sheet font and padding", "QLabel#styled { font-size: 17px; padding: 4px 9px; }",
         [](QLabel&) {}},
        {"style sheet border and minimum",
         "QLabel#styled { border: 3px solid red; min-width: 300px; }", [](QLabel&) {}},
    };
    return cases;
}

std::unique_ptr<QWidget> Parent(const LookCase& look)
{
    auto parent = std::make_unique<QWidget>();
    parent->setStyleSheet(look.sheet);
    return parent;
}

QLabel* NewLabel(QWidget& parent, const LookCase& look, const QString& text)
{
    auto* label = new QLabel(&parent);
    label->setObjectName("styled");
    look.dress(*label);
    label->setText(text);
    return label;
}

// Each look is fitted twice over, so that the second round finds the sizes
// of the first, all for one text: a look that borrowed another's size shows.
TEST(LabelFitTest, EveryLookGetsTheSizeAdjustSizeGives)
{
    for (int round = 0; round < 2; ++round) {
        for (const LookCase& look : Cases()) {
            const std::unique_ptr<QWidget> parent = Parent(look);
            QLabel* fitted = NewLabel(*parent, look, kText);
            LabelFit::toText(*fitted);
            QLabel* adjusted = NewLabel(*parent, look, kText);
            adjusted->adjustSize();
            EXPECT_EQ(fitted->size(), adjusted->size()) << look.name << ", round " << round;
        }
    }
}

TEST(LabelFitTest, ANewTextGetsItsOwnSize)
{
    const LookCase& plain = Cases().front();
    const std::unique_ptr<QWidget> parent = Parent(plain);
    QLabel* label = NewLabel(*parent, plain, kText);
    LabelFit::toText(*label);
    const QSize first = label->size();
    label->setText(kText + kText);
    LabelFit::toText(*label);
    QLabel* adjusted = NewLabel(*parent, plain, kText + kText);
    adjusted->adjustSize();
    EXPECT_EQ(label->size(), adjusted->size());
    EXPECT_GT(label->width(), first.width());
}

TEST(LabelFitTest, APixmapLabelIsSizedToItsPixmap)
{
    QWidget parent;
    auto* label = new QLabel(&parent);
    label->setText(kText);
    LabelFit::toText(*label);
    QPixmap pixmap(37, 23);
    pixmap.fill(Qt::red);
    label->setPixmap(pixmap);
    LabelFit::toText(*label);
    EXPECT_EQ(label->size(), QSize(37, 23));
}

} // namespace
