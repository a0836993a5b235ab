#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

#include <string>

class CCommonButton;
class CSkinLabel;
class QAbstractButton;
class QLabel;

// Applies pool entries to controls: object name (which the style sheets
// select), caption, position, image. A null control writes an ERROR line
// and changes nothing; a missing identifier gives an empty object name and
// text and no move. Positions are applied only when both x and y are set,
// and always after the text, so that the fitted control is placed. GUI
// thread only.
class CControlSetting
{
public:
    CControlSetting() = delete;

    // Modes are exact values: 1 object name; 2 text, then fit size; 0 move
    // to the entry's position; 3 all of these in that order.
    static void Set_Label_Text(QLabel* label, int id, int mode);

    // Set_Label_Text for a skinned label.
    static void Set_SkinLabel_Text(CSkinLabel* label, int id, int mode);

    // Mode bits: 1 object name; 2 text, then fit size. Mode 3 also moves the
    // button to the entry's position.
    static void Set_Btn_Style(QAbstractButton* button, int id, int mode);

    // Mode bits: 1 object name; 2 text, then fit size. Never moves.
    static void Set_Check_Box_Text(QAbstractButton* checkBox, int id, int mode);

    // Gives the button the strip of pixmap entry `id`, then by mode bits:
    // 1 object name; 2 caption, then fit size.
    static void Set_Change_Btn_Style(CCommonButton* button, int id, int mode);

    // Mode bits: 1 object name; 2 caption, then fit size. Keeps the strip.
    static void Set_Change_Btn_Style_Pixmap(CCommonButton* button, int id, int mode);

    // Shows the image of pixmap entry `id` and fits the label to it.
    static void Set_Label_Pixmap(QLabel* label, int id);

    static void Set_Checked(QAbstractButton* button, bool checked);

    // Text of string entry `id` (UTF-8), empty when missing.
    static std::string Get_Text(int id);
    // Get_Text as a QString (the pools hold UTF-8).
    static QString Text(int id) { return QString::fromStdString(Get_Text(id)); }
    // Object name of string entry `id`, empty when missing.
    static std::string Get_Object_Name(int id);
    // Image path of pixmap entry `id`; "error" when missing.
    static std::string Get_Pixmap_Path(int id);
    // Get_Pixmap_Path as a QString.
    static QString Image(int id) { return QString::fromStdString(Get_Pixmap_Path(id)); }
    // Position of pixmap entry `id`; (0, 0) when missing.
    static QPoint Get_Pixmap_Pos(int id);
    // Position of string entry `id`; (-1, -1) when missing or unset.
    static QPoint Get_Text_Pos(int id);
    // Text of string entry `id` as a decimal integer; 0 when not a number.
    static int Get_Int(int id);

    // `text` when narrower than `width` pixels in `font`, otherwise elided
    // in the middle to fit `width`.
    static QString Get_Elided_Text(const QString& text, int width, const QFont& font);
};
