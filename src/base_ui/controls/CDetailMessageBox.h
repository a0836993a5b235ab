#pragma once

#include "base_ui/controls/WindowDrag.h"

#include <QDialog>
#include <QPoint>

#include <QString>

#include <vector>

class CCommonButton;
class CDetailLabel;
class QLabel;

// The frameless details box of a program-start record: a blue 41 px title
// band with the title and a close button, sixteen name/value fields in two
// columns on a white body (addresses, then hardware and usage, split by a
// light separator), and an export and a close button at the bottom. The
// fields show fixed placeholder values until setValue replaces them. A box
// of the same look for any other record takes its name/value pairs and lists
// them in one column, without the separator. A value wider than its field is
// elided in the middle, its tool tip holds it whole. The export button
// announces sigExport and does nothing else itself. Texts and images come from the
// string and pixmap pools by identifier; all but the window icon are entries
// of the plug-in page's own resource files (texts 20000 to 20018 of
// AMtext.xml, images 130000, 130001 and 20000 of AMImage.xml), so the box
// shows its texts and pictures only once the page has loaded them. Dragging anywhere on the box
// moves it; both close buttons close it (QDialog::close, so exec returns Rejected). The caller
// places, shows and deletes the box. GUI thread only.
class CDetailMessageBox : public QDialog
{
    Q_OBJECT

public:
    // The fields of the program-start box.
    static constexpr int kFieldCount = 16;

    // One name/value pair of a listed box; the name carries its colon.
    struct Field
    {
        QString name;
        QString value;
    };

    // The program-start box with its placeholder values.
    explicit CDetailMessageBox(QWidget* parent = nullptr);
    // A box that lists `fields` in one column.
    explicit CDetailMessageBox(const std::vector<Field>& fields, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CDetailMessageBox)

    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    // Field `index`; nullptr outside 0 .. fieldCount() - 1.
    const CDetailLabel* field(int index) const;
    // Shows `value` in field `index` (within the field's width), keeping its
    // name and place; nothing outside the fields.
    void setValue(int index, const QString& value);

signals:
    // The export button was pressed.
    void sigExport();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Window title, icon, size and title bar: what every box has first.
    void buildFrame();
    void buildTitleBar();
    void buildFields();
    void placeFields();
    void listFields(const std::vector<Field>& fields);
    void buildButtons();

    WindowDrag m_drag;
    std::vector<CDetailLabel*> m_fields;
    std::vector<int> m_widths; // each field's value width
    bool m_listed = false;     // one column, no separator
};
