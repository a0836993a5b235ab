#include "base_ui/tools/LabelFit.h"

#include <QHash>
#include <QLabel>
#include <QMargins>
#include <QSize>
#include <QString>

namespace {

// Everything a text label's size depends on. Its style sheet has left its
// marks on these (font, margins, size limits) once the label is polished.
struct Look
{
    const QMetaObject* type = nullptr;
    QString text;
    QString font;
    QMargins contents;
    QSize minimum;
    QSize maximum;
    int margin = 0;
    int indent = 0;
    int frame = 0;
    int alignment = 0;
    int format = 0;
    int direction = 0;
    int dpi = 0;
    bool wordWrap = false;
    // With a buddy, "&" marks a mnemonic and takes no room.
    bool buddy = false;

    bool operator==(const Look& other) const
    {
        return type == other.type && buddy == other.buddy && text == other.text &&
               font == other.font && contents == other.contents && minimum == other.minimum &&
               maximum == other.maximum && margin == other.margin && indent == other.indent &&
               frame == other.frame && alignment == other.alignment && format == other.format &&
               direction == other.direction && dpi == other.dpi && wordWrap == other.wordWrap;
    }
};

size_t qHash(const Look& look, size_t seed = 0)
{
    return qHashMulti(seed, look.text, look.font, look.margin, look.indent, look.alignment);
}

Look LookOf(const QLabel& label)
{
    Look look;
    look.type = label.metaObject();
    look.buddy = label.buddy() != nullptr;
    look.text = label.text();
    look.font = label.font().key();
    look.contents = label.contentsMargins();
    look.minimum = label.minimumSize();
    look.maximum = label.maximumSize();
    look.margin = label.margin();
    look.indent = label.indent();
    look.frame = label.frameWidth();
    look.alignment = static_cast<int>(label.alignment());
    look.format = static_cast<int>(label.textFormat());
    look.direction = static_cast<int>(label.layoutDirection());
    look.dpi = label.logicalDpiY();
    look.wordWrap = label.wordWrap();
    return look;
}

// A window's size also follows its size policy and screen.
bool SizedByTextAlone(const QLabel& label)
{
    return !label.isWindow() && label.pixmap().isNull() && label.picture().isNull() &&
           label.movie() == nullptr && label.layout() == nullptr;
}

// A bound for labels that show ever new texts (times, record texts).
constexpr qsizetype kMaxSizes = 512;

} // namespace

// static
void LabelFit::toText(QLabel& label)
{
    label.ensurePolished();
    if (!SizedByTextAlone(label)) {
        label.adjustSize();
        return;
    }
    static QHash<Look, QSize> sizes;
    Look look = LookOf(label);
    const auto known = sizes.constFind(look);
    if (known != sizes.constEnd()) {
        label.resize(*known);
        return;
    }
    label.adjustSize();
    if (sizes.size() >= kMaxSizes) {
        sizes.clear();
    }
    sizes.insert(std::move(look), label.size());
}
