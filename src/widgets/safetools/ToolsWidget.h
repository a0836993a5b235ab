#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <vector>

class CIconButton;

// A grid of icon buttons, three to a row, built from catalogue entries
// (CKoSafeToolsPool). A click on a button emits the entry's id and starts the
// entry's program file beside the executable, if it names one. Draws no
// background of its own. Owned by its Qt parent, and owns its buttons;
// GUI thread only.
class ToolsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ToolsWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ToolsWidget)

    // Style of the buttons that initShow creates afterwards: text colours,
    // hover fill, border, whether only the title is shown, and the
    // horizontal spacing between buttons.
    void setButtonStyle(const QString& titleColor, const QString& subTitleColor,
                        const QString& hoverColor, const QString& borderColor, bool titleOnly,
                        int spacing);

    // Adds one button per id text of the comma-separated list `ids`
    // ("100221,100218"). Empty parts and ids that the catalogue lacks make
    // no button but still count towards the row breaks. A button's title
    // and subtitle are the parts of the entry's showText before and after
    // its first comma. Then the grid takes the parent's width and the height
    // of its rows.
    void initShow(const QString& ids);

    // The buttons in creation order, each with the id text it was made from.
    struct Button
    {
        CIconButton* button;
        QString id;
    };
    const std::vector<Button>& buttons() const { return m_buttons; }

signals:
    void sigToolButtonClicked(int id);

public slots:
    // A click at `pt`, in the grid's coordinates.
    void onBtnTools(QPoint pt);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Arrow keys in a focused button move the focus to the neighbouring
    // button: Left and Right in reading order, Up and Down to the nearest
    // button of the row above or below.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The button `key` moves to from button `from`, or -1.
    int neighbour(int from, int key) const;
    CIconButton* createButton(const QString& showText, const QString& imgPath);
    QPoint nextPosition(int index, const QPoint& previous, const QSize& buttonSize) const;

    std::vector<Button> m_buttons;
    QColor m_titleColor{"#ffffff"};
    QColor m_subTitleColor{"#bbbdc4"};
    QColor m_hoverColor{"#182649"};
    QColor m_borderColor{"#154e8b"};
    bool m_titleOnly = false;
    int m_spacing = 20;
};
