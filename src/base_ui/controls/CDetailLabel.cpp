#include "base_ui/controls/CDetailLabel.h"

#include "base_ui/tools/CControlSetting.h"

#include <QLabel>
#include <QTextDocument>

namespace {

// A value on one line: each line break (CR LF, CR or LF) as one space.
QString OneLine(QString value)
{
    return value.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace('\r', ' ')
        .replace('\n', ' ');
}

// A tool tip that shows `value` as it is: a text that Qt would take for
// markup is escaped.
QString PlainToolTip(const QString& value)
{
    if (!Qt::mightBeRichText(value)) {
        return value;
    }
    return "<p style='white-space:pre-wrap'>" + value.toHtmlEscaped() + "</p>";
}

} // namespace

CDetailLabel::CDetailLabel(QWidget* parent)
    : QWidget(parent), m_nameLabel(new QLabel(this)), m_valueLabel(new QLabel(this))
{
    // Values may come from outside (the journal's records): never markup.
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_valueLabel->setTextFormat(Qt::PlainText);
    m_nameLabel->setObjectName("DetailLabelName");
    m_nameLabel->setStyleSheet("QLabel{font-size:12px; color:#393164; font-weight:normal;}");
    m_valueLabel->setObjectName("DetailLabelValue");
    m_valueLabel->setStyleSheet("QLabel{font-size:12px; color:#716d8b; font-weight:normal;}");
}

void CDetailLabel::setContent(const QString& name, const QString& value, int width)
{
    m_nameLabel->setText(name);
    m_nameLabel->adjustSize();
    m_nameLabel->move(0, 0);

    // The style sheet sets the font size: polish first so that the text is
    // elided in the font it is drawn in.
    m_valueLabel->ensurePolished();
    m_valueLabel->setText(
        CControlSetting::Get_Elided_Text(OneLine(value), width, m_valueLabel->font()));
    m_valueLabel->adjustSize();
    m_valueLabel->setToolTip(PlainToolTip(value));
    m_value = value;
    m_valueLabel->move(m_nameLabel->x() + m_nameLabel->width(), 0);

    adjustSize();
}

QString CDetailLabel::name() const
{
    return m_nameLabel->text();
}

QString CDetailLabel::shownValue() const
{
    return m_valueLabel->text();
}

QString CDetailLabel::value() const
{
    return m_value;
}
