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

// Long enough for word wrap to break it.
const QString kText = QString::fromUtf8("同一段文字 the same text, ").repeated(6);

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
        // An indent widens a label aligned left or right, and heightens one
        // aligned to the top or bottom.
        {"indent", "", [](QLabel& label) { label.setIndent(11); }},
        {"indent, top", "",
         [](QLabel& label) {
             label.setIndent(11);
             label.setAlignment(Qt::AlignTop | Qt::AlignHCenter);
         }},
        {"contents margins", "", [](QLabel& label) { label.setContentsMargins(3, 4, 5, 6); }},
        {"frame", "", [](QLabel& label) { label.setFrameStyle(QFrame::Box | QFrame::Plain); }},
        {"word wrap", "", [](QLabel& label) { label.setWordWrap(true); }},
        {"minimum width", "", [](QLabel& label) { label.setMinimumWidth(1200); }},
        {"maximum width", "", [](QLabel& label) { label.setMaximumWidth(80); }},
        {"rich text", "", [](QLabel& label) { label.setTextFormat(Qt::RichText); }},
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

// With a buddy, "&" marks a mnemonic and takes no room.
TEST(LabelFitTest, ABuddyLabelIsMeasuredWithoutItsMnemonicMark)
{
    QWidget parent;
    auto* buddy = new QWidget(&parent);
    const QString text = QStringLiteral("&&&Open the &&file");
    for (QWidget* partner : {static_cast<QWidget*>(nullptr), buddy}) {
        auto* fitted = new QLabel(text, &parent);
        fitted->setBuddy(partner);
        LabelFit::toText(*fitted);
        auto* adjusted = new QLabel(text, &parent);
        adjusted->setBuddy(partner);
        adjusted->adjustSize();
        EXPECT_EQ(fitted->size(), adjusted->size()) << (partner == nullptr ? "alone" : "buddy");
    }
}

// Labels that show a picture have no text: each takes its own picture's size.
TEST(LabelFitTest, PictureLabelsAreSizedToTheirPictures)
{
    QWidget parent;
    for (const QSize size : {QSize(37, 23), QSize(50, 10)}) {
        auto* label = new QLabel(&parent);
        QPixmap pixmap(size);
        pixmap.fill(Qt::red);
        label->setPixmap(pixmap);
        LabelFit::toText(*label);
        EXPECT_EQ(label->size(), size);
    }
}

// A window that may expand is sized at least 200 by 100; a child is not.
TEST(LabelFitTest, AWindowIsSizedAsAWindow)
{
    QWidget parent;
    auto* child = new QLabel(QStringLiteral("x"), &parent);
    child->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    LabelFit::toText(*child);
    QLabel window(QStringLiteral("x"));
    window.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    LabelFit::toText(window);
    QLabel adjusted(QStringLiteral("x"));
    adjusted.setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    adjusted.adjustSize();
    EXPECT_EQ(window.size(), adjusted.size());
    EXPECT_LT(child->width(), window.width());
}

} // namespace
