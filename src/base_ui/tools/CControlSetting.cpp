#include "base_ui/tools/CControlSetting.h"

#include "base/Logging.h"
#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CSkinLabel.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/HiDpiPixmap.h"
#include "base_ui/tools/LabelFit.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

namespace {

ResourceEntry StringEntry(int id)
{
    ResourceEntry entry;
    CKoStringPool::Get().Lookup(id, entry);
    return entry;
}

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

bool HasPosition(const ResourceEntry& entry)
{
    return entry.x != -1 && entry.y != -1;
}

void MoveToEntry(QWidget& widget, const ResourceEntry& entry)
{
    if (HasPosition(entry)) {
        widget.move(entry.x, entry.y);
    }
}

// Qt buttons and skinned buttons alike.
template <typename Button>
void SetButtonText(Button& button, const ResourceEntry& entry, int mode)
{
    if (mode & 1) {
        button.setObjectName(ToQString(entry.object));
    }
    if (mode & 2) {
        button.setText(ToQString(entry.text));
        button.adjustSize();
    }
}

} // namespace

// static
void CControlSetting::Set_Label_Text(QLabel* label, int id, int mode)
{
    if (label == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    const ResourceEntry entry = StringEntry(id);
    if (mode == 1 || mode == 3) {
        label->setObjectName(ToQString(entry.object));
    }
    if (mode == 2 || mode == 3) {
        label->setText(ToQString(entry.text));
        LabelFit::toText(*label);
    }
    if (mode == 0 || mode == 3) {
        MoveToEntry(*label, entry);
    }
}

// static
void CControlSetting::Set_SkinLabel_Text(CSkinLabel* label, int id, int mode)
{
    if (label == nullptr) {
        LOG_ERROR << " invalid parameters.";
        return;
    }
    Set_Label_Text(label, id, mode);
}

// static
void CControlSetting::Set_Btn_Style(QAbstractButton* button, int id, int mode)
{
    if (button == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    const ResourceEntry entry = StringEntry(id);
    SetButtonText(*button, entry, mode);
    if (mode == 3) {
        MoveToEntry(*button, entry);
    }
}

// static
void CControlSetting::Set_Check_Box_Text(QAbstractButton* checkBox, int id, int mode)
{
    if (checkBox == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    SetButtonText(*checkBox, StringEntry(id), mode);
}

// static
void CControlSetting::Set_Change_Btn_Style(CCommonButton* button, int id, int mode)
{
    if (button == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    button->setImage(ToQString(Get_Pixmap_Path(id)));
    SetButtonText(*button, StringEntry(id), mode);
}

// static
void CControlSetting::Set_Change_Btn_Style_Pixmap(CCommonButton* button, int id, int mode)
{
    if (button == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    SetButtonText(*button, StringEntry(id), mode);
}

// static
void CControlSetting::Set_Label_Pixmap(QLabel* label, int id)
{
    if (label == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    label->setPixmap(HiDpiPixmap::load(ToQString(Get_Pixmap_Path(id))));
    label->adjustSize();
}

// static
void CControlSetting::Set_Checked(QAbstractButton* button, bool checked)
{
    if (button == nullptr) {
        LOG_ERROR << "invalid parameters.";
        return;
    }
    button->setChecked(checked);
}

// static
std::string CControlSetting::Get_Text(int id)
{
    return StringEntry(id).text;
}

// static
std::string CControlSetting::Get_Object_Name(int id)
{
    return StringEntry(id).object;
}

// static
std::string CControlSetting::Get_Pixmap_Path(int id)
{
    ResourceEntry entry;
    if (CKoPixmapPool::Get().Lookup(id, entry) != 0) {
        return "error";
    }
    return entry.image;
}

// static
QPoint CControlSetting::Get_Pixmap_Pos(int id)
{
    ResourceEntry entry;
    if (CKoPixmapPool::Get().Lookup(id, entry) != 0) {
        return QPoint(0, 0);
    }
    return QPoint(entry.x, entry.y);
}

// static
QPoint CControlSetting::Get_Text_Pos(int id)
{
    const ResourceEntry entry = StringEntry(id);
    return QPoint(entry.x, entry.y);
}

// static
int CControlSetting::Get_Int(int id)
{
    return ToQString(Get_Text(id)).toInt();
}

// static
QString CControlSetting::Get_Elided_Text(const QString& text, int width, const QFont& font)
{
    const QFontMetrics metrics(font);
    if (metrics.horizontalAdvance(text) < width) {
        return text;
    }
    return metrics.elidedText(text, Qt::ElideMiddle, width);
}
