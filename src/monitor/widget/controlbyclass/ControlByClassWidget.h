#pragma once

#include <QWidget>

class QDialog;

// The view by type: a grid of the five record categories (program start,
// execute scan, ransomware found, heartbeat, download update package). A
// click on a category runs that category's diary dialog modally and deletes
// it when it ends. Owned by the monitor page; GUI thread only.
class ControlByClassWidget : public QWidget
{
    Q_OBJECT

public:
    // 700 x 400 at (0, 90) in `parent`.
    explicit ControlByClassWidget(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(ControlByClassWidget)

    // Builds the category grid at (0, 0). Call once, after construction.
    void initShow();

    // Whether `id` is one of the five category ids (100217 to 100221).
    static bool IsCategory(int id);

public slots:
    // Runs the diary dialog of category `id` modally; an id that is no
    // category is refused with an ERROR line.
    void sltToolButtonClicked(int id);

protected:
    // The diary dialog of category `id`, a child of this view, or nullptr
    // when there is none to run.
    virtual QDialog* createDiaryDialog(int id);
};
