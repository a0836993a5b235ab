// XML attributes and text wrapping.

#include "base_ui/utils/CommonUtils.h"

#include <QDomElement>
#include <QFontMetrics>
#include <QStringList>

// static
bool CommonUtils::readXmlAttribute(const QDomElement& element, const QString& name, QString& value)
{
    if (!element.hasAttribute(name)) {
        return false;
    }
    value = element.attribute(name);
    return true;
}

// static
QString CommonUtils::wrapTextByWidth(const QString& text, int maxWidth, const QFontMetrics& metrics,
                                     const QString& separator)
{
    if (metrics.horizontalAdvance(text) <= maxWidth) {
        return text;
    }
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = 1; end <= text.size(); ++end) {
        const bool insidePair = end < text.size() && text.at(end - 1).isHighSurrogate() &&
                                text.at(end).isLowSurrogate();
        if (insidePair) {
            continue;
        }
        const QString piece = text.mid(start, end - start);
        if (metrics.horizontalAdvance(piece) >= maxWidth) {
            lines.append(piece);
            start = end;
        }
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines.join(separator);
}
