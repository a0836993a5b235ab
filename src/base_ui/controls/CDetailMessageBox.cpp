#include "base_ui/controls/CDetailMessageBox.h"

#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailLabel.h"
#include "base_ui/tools/CControlSetting.h"

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace {

// String pool entries of the page's AMtext.xml.
constexpr int kTextFirstName = 20000; // names of fields 0 to 15: 20000 to 20015
constexpr int kTextTitle = 20016;
constexpr int kTextExport = 20017;
constexpr int kTextClose = 20018;

// Pixmap pool entries: the window icon of base_ui_pixmap.xml, the others of
// the page's AMImage.xml.
constexpr int kImageWindowIcon = 5000;
constexpr int kImageTitleClose = 130000;
constexpr int kImageExport = 130001;
constexpr int kImageClose = 20000;

constexpr int kButtonPictures = 4;
constexpr int kTitleBandHeight = 41;
constexpr int kSeparatorY = 136;

const QColor kBandColour("#00a6f7");
const QColor kBodyColour("#ffffff");
const QColor kSeparatorColour("#f1f1f1");
const QColor kButtonTextColour("#393164");

// Placeholder value and the width it may take, per field.
struct Placeholder
{
    const char* value;
    int width;
};

constexpr std::array<Placeholder, CDetailMessageBox::kFieldCount> kPlaceholders = {{
    {"2020-08-08 08:08:08", 200},
    {"192.0.2.18", 200},
    {"00-1A-2B-3C-4D-5E", 200},
    {"CENTOS", 120},
    {"64G", 120},
    {"128T", 120},
    {"1212121", 100},
    {"20%", 100},
    {"50%", 100},
    {"60%", 100},
    {"X86_64", 80},
    {"64", 80},
    {"sf-1.0", 50},
    {"dubi", 60},
    {"zhioa", 80},
    {"DVD", 80},
}};

// Left column: fields 0 to 9; fields 0 to 2 are the address group, the
// hardware group starts at field 3. Right column: fields 10 to 15, the
// first beside field 3, the others beside fields 4 to 8.
constexpr int kLeftX = 40;
constexpr int kRightX = 220;
constexpr int kFirstY = 60;
constexpr int kFieldGap = 3;
constexpr int kGroupGap = 40;
constexpr int kFirstHardwareField = 3;
constexpr int kLastLeftField = 9;
// Between the fields of a listed box.
constexpr int kListGap = 8;

int Bottom(const QWidget* widget)
{
    return widget->y() + widget->height();
}

} // namespace

CDetailMessageBox::CDetailMessageBox(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint)
{
    buildFrame();
    buildFields();
    placeFields();
    buildButtons();
}

CDetailMessageBox::CDetailMessageBox(const std::vector<Field>& fields, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), m_listed(true)
{
    buildFrame();
    listFields(fields);
    buildButtons();
}

void CDetailMessageBox::buildFrame()
{
    setWindowTitle(CControlSetting::Text(kTextTitle));
    setWindowIcon(QIcon(CControlSetting::Image(kImageWindowIcon)));
    resize(420, 347);
    buildTitleBar();
}

const CDetailLabel* CDetailMessageBox::field(int index) const
{
    if (index < 0 || index >= fieldCount()) {
        return nullptr;
    }
    return m_fields[static_cast<std::size_t>(index)];
}

void CDetailMessageBox::setValue(int index, const QString& value)
{
    if (index < 0 || index >= fieldCount()) {
        return;
    }
    const auto k = static_cast<std::size_t>(index);
    m_fields[k]->setContent(m_fields[k]->name(), value, m_widths[k]);
}

void CDetailMessageBox::buildTitleBar()
{
    auto* title = new QLabel(CControlSetting::Text(kTextTitle), this);
    title->setObjectName("DetailMessageBoxTitle");
    title->setStyleSheet("QLabel{color:#ffffff;font-size:12px;}");
    title->adjustSize();
    title->move(10, 12);

    auto* close =
        new CCommonButton(CControlSetting::Image(kImageTitleClose), kButtonPictures, this);
    close->setObjectName("DetailMessageBoxTitleClose");
    close->move(width() - 35, 10);
    close->setCursor(Qt::PointingHandCursor);
    connect(close, &CCommonButton::clicked, this, &QDialog::close);
}

void CDetailMessageBox::buildFields()
{
    for (int index = 0; index < kFieldCount; ++index) {
        const Placeholder& placeholder = kPlaceholders[static_cast<std::size_t>(index)];
        auto* field = new CDetailLabel(this);
        field->setObjectName(QString("DetailMessageBoxField%1").arg(index));
        field->setContent(CControlSetting::Text(kTextFirstName + index),
                          QString::fromUtf8(placeholder.value), placeholder.width);
        m_fields.push_back(field);
        m_widths.push_back(placeholder.width);
    }
}

void CDetailMessageBox::listFields(const std::vector<Field>& fields)
{
    int y = kFirstY;
    for (const Field& content : fields) {
        auto* field = new CDetailLabel(this);
        field->setObjectName(QString("DetailMessageBoxField%1").arg(fieldCount()));
        // The value takes what the name leaves of the line.
        field->setContent(content.name, QString(), 0);
        const int valueWidth = std::max(width() - 2 * kLeftX - field->nameLabel()->width(), 0);
        field->setContent(content.name, content.value, valueWidth);
        field->move(kLeftX, y);
        y = Bottom(field) + kListGap;
        m_fields.push_back(field);
        m_widths.push_back(valueWidth);
    }
}

void CDetailMessageBox::placeFields()
{
    m_fields[0]->move(kLeftX, kFirstY);
    for (int index = 1; index <= kLastLeftField; ++index) {
        const int gap = index == kFirstHardwareField ? kGroupGap : kFieldGap;
        m_fields[index]->move(kLeftX, Bottom(m_fields[index - 1]) + gap);
    }
    for (int index = kLastLeftField + 1; index < kFieldCount; ++index) {
        const CDetailLabel* beside = m_fields[index - kLastLeftField - 1 + kFirstHardwareField];
        m_fields[index]->move(kRightX, beside->y());
    }
}

void CDetailMessageBox::buildButtons()
{
    auto* exportButton =
        new CCommonButton(CControlSetting::Image(kImageExport), kButtonPictures, this);
    exportButton->setObjectName("DetailMessageBoxExport");
    exportButton->setText(CControlSetting::Text(kTextExport));
    exportButton->setTextColor(kButtonTextColour, CCommonButton::StateMarked);
    exportButton->move(width() - exportButton->width() - 20,
                       height() - exportButton->height() - 10);
    connect(exportButton, &CCommonButton::clicked, this, &CDetailMessageBox::sigExport);

    auto* close = new CCommonButton(CControlSetting::Image(kImageClose), kButtonPictures, this);
    close->setObjectName("DetailMessageBoxClose");
    close->setText(CControlSetting::Text(kTextClose));
    close->setTextColor(kButtonTextColour, CCommonButton::StateMarked);
    close->move(exportButton->x() - close->width() - 10, height() - close->height() - 10);
    connect(close, &CCommonButton::clicked, this, &QDialog::close);
}

void CDetailMessageBox::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.Press(*this, event)) {
        QDialog::mousePressEvent(event);
    }
}

void CDetailMessageBox::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.Move(*this, event)) {
        QDialog::mouseMoveEvent(event);
    }
}

void CDetailMessageBox::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kBandColour);
    painter.drawRect(0, 0, width(), kTitleBandHeight);
    painter.setBrush(kBodyColour);
    painter.drawRect(0, kTitleBandHeight, width(), height() - kTitleBandHeight);

    if (!m_listed) {
        painter.setPen(kSeparatorColour);
        painter.drawLine(kLeftX, kSeparatorY, width() - kLeftX, kSeparatorY);
    }

    painter.setPen(QPen(kBandColour, 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
