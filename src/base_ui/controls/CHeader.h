#pragma once

#include <QFont>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class CCheckBox;
class QComboBox;
class QLabel;

// The header strip of a CTableWidget: one row high and as wide as the table.
// It owns the column geometry that the table copies into its cells (x and
// width per column), paints the column labels and a bottom line, can embed a
// combo box after a label or a check-all box in a column, sorts by a click on
// a sortable column (alternating the direction per column, with an indicator
// image), and, when enabled, lets the user resize two neighbouring columns by
// dragging the border between them. Column numbers are 1-based in
// setColumnWidth, setPadding, setColumnAlignment, setSortableColumns and
// columnWidget; every other column argument, query and signal is 0-based.
// GUI thread only; embedded controls are children of the header.
class CHeader : public QWidget
{
    Q_OBJECT

public:
    // Least width a border drag leaves to either of its two columns.
    static constexpr int kMinDragWidth = 20;

    CHeader(int width, int height, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(CHeader)

    // Lays n columns out side by side, each width / n wide, and resets every
    // per-column setting.
    void setColumnCount(int count);
    int columnCount() const { return static_cast<int>(m_columns.size()); }

    // 1-based. Sets a column's width; the next column starts one pixel after
    // it and keeps its right edge. The last column takes the rest of the
    // header when the width does not fit. Emits drag().
    void setColumnWidth(int column, int width);
    // 1-based. Left inset of the label; ignored beyond the last column or
    // when not below the column's width.
    void setPadding(int column, int pixels);
    // 1-based. Value 1 centres the label in its column; any other value
    // aligns it left at the column's edge.
    void setColumnAlignment(int column, int value);
    void setLabels(const QStringList& labels);
    QStringList labels() const { return m_labels; }
    void setLabelFontPixelSize(int pixels);
    void setBackgroundColor(const QString& color);
    void setTextColor(const QString& color);
    void setLineColor(const QString& color);
    // 1-based columns that sort on a click; turns click-to-sort on.
    void setSortableColumns(const QList<int>& columns);
    // Border dragging; while on, clicks do not sort.
    void setResizeEnabled(bool enabled);
    void setSortIndicatorShown(bool shown);

    // 0-based. A combo box placed right after the column's label, at least
    // 100 x 26, whose popup is a plain list made when it first opens
    // (ListPopupComboBox). Returns the existing one when called again. It is shown at
    // once when the header is visible, else with the header, and is not
    // polished before then, so a style sheet set on it costs little.
    QComboBox* addComboBox(int column);
    // 0-based. A check-all box over the column, showing the column's label
    // instead of the painted one. Returns the existing one when called again.
    CCheckBox* addCheckBox(int column);
    // 1-based. The column's embedded combo box or check box, else null.
    QWidget* columnWidget(int column) const;
    // 0-based. The column's check box, else null.
    CCheckBox* checkBox(int column) const;

    // 0-based geometry, as the table reads it.
    int columnX(int column) const;
    int columnWidth(int column) const;
    QRect columnRect(int column) const;
    QRect textRect(int column) const;
    // Grip of the border right of `column` (0..count-2).
    QRect gripRect(int column) const;
    // 0-based: the direction flag the next click on the column sends.
    bool sortFlag(int column) const;
    QLabel* sortIndicator() const { return m_indicator; }
    // Resource path of the image the indicator shows, empty before a sort.
    QString sortIndicatorPath() const { return m_indicatorPath; }

signals:
    // A border drag changed the column geometry.
    void drag();
    // 0-based column and the direction flag of the request.
    void signal_sort(int column, bool flag);
    void signal_updateLabelPos(int column);

public slots:
    // Places the sort indicator after the label of `column`.
    void slt_updateLabelPos(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Column
    {
        int left = 0;
        int right = 0;
        int width = 0;
        QRect rect;
        QRect textRect;
        int padding = 0;
        bool alignFixed = false;
        int alignValue = 0;
        bool hasWidget = false;
        bool sortable = false;
        bool sortFlag = true;
        QWidget* widget = nullptr;
        CCheckBox* checkBox = nullptr;
    };

    bool validColumn(int column) const { return column >= 0 && column < columnCount(); }
    // Column rectangles, grips and text rectangles from left, right, width.
    void rebuildGeometry();
    void placeEmbeddedWidgets();
    int columnAt(const QPoint& pos) const;
    int gripAt(const QPoint& pos) const;
    // Moves the border right of `border` by `delta`, within both columns'
    // minimum widths.
    void moveBorder(int border, int delta);
    void sortByClick(int column);
    void paintDragLines(QPainter& painter) const;

    int m_width;
    int m_height;
    std::vector<Column> m_columns;
    std::vector<QRect> m_grips;
    QStringList m_labels;
    bool m_sortEnabled = false;
    bool m_resizeEnabled = false;
    bool m_dragging = false;
    bool m_gripHovered = false;
    int m_dragBorder = -1;
    int m_pressedColumn = -1;
    int m_dragStartX = 0;
    int m_currentX = 0;
    int m_comboGap = 10;
    QString m_backgroundColor = "#334962";
    QString m_textColor = "#828e9c";
    QString m_lineColor = "#313648";
    QFont m_font;
    QLabel* m_indicator = nullptr;
    QString m_indicatorPath;
};
