#pragma once

#include <QWidget>

// The host's tool-page interface: a parentless widget with the four
// operations that the host calls, in this order of declaration after the
// virtual functions of QWidget. It adds no data and no meta-object, so a page
// is laid out as a QWidget and the interface pointer is the widget's address.
//
// The host calls initUi before it shows the page, loadLogModule before the
// user opens a diary, setCenterWidget before the isolation switch is used and
// setParentWidget at any time. The host owns the page and deletes it through
// the virtual destructor. GUI thread only.
class CToolWidget : public QWidget
{
public:
    CToolWidget() : QWidget(nullptr) {}
    ~CToolWidget() override = default;

    // Builds the page's child widgets. Once, before the page is shown.
    virtual void initUi() = 0;
    // QWidget::setParent(parent).
    virtual void setParentWidget(QWidget* parent) = 0;
    // Loads the external log module; whether a module object was obtained.
    virtual bool loadLogModule() = 0;
    // The widget over which confirmation boxes are centred; not owned, may
    // be null.
    virtual void setCenterWidget(QWidget* widget) = 0;
};
