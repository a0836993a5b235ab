#pragma once

#include "base_ui/controls/WindowDrag.h"

#include <QDialog>
#include <QPoint>

#include <array>

class CCommonButton;
class CDetailLabel;
class QLabel;

// The frameless details box of a program-start record: a blue 41 px title
// band with the title and a close button, sixteen name/value fields in two
// columns on a white body (addresses, then hardware and usage, split by a
// light separator), and an export and a close button at the bottom. The
// fields show fixed placeholder values. Texts and images come from the
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
    static constexpr int kFieldCount = 16;

    explicit CDetailMessageBox(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CDetailMessageBox)

    // Field `index` (0 to 15); nullptr outside that range.
    const CDetailLabel* field(int index) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildTitleBar();
    void buildFields();
    void placeFields();
    void buildButtons();

    WindowDrag m_drag;
    std::array<CDetailLabel*, kFieldCount> m_fields{};
};
