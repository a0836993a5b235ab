#pragma once

#include "iAntivirusMonitor.h"

#include <QtGlobal>

class CSwitchButton;
class ControlByClassWidget;
class ControlByDataWidget;
class IsolationChannel;
class QLabel;

// The behaviour-monitor page. Construction opens the log ("./log/
// AntivirusMonitor" beside the executable, level and size from the settings
// file), loads the compiled-in resources into the pools and sets the page
// style sheet; initUi builds the title, the two radio buttons that choose the
// view by time or by type, and the information isolation label and switch.
// Each view is created on its first choice and afterwards only hidden and
// shown. Turning the switch on asks for confirmation and turns it back off
// unless the user confirms.
//
// When the settings file names the client's service ("Isolation"/"Pipe"),
// each change is told to that service (IsolationChannel) before it counts:
// the switch is busy until the answer, a delivered change is stored and
// shown by the next initUi, and an undelivered one turns the switch back
// with a notice. Without that name the switch position is the only
// isolation state: nothing is sent or stored. GUI thread only.
class AntivirusMonitorWidget : public iAntivirusMonitor
{
    Q_OBJECT

public:
    // Object name of the isolation switch.
    static constexpr const char* kSwitchObjectName = "AntivirusMonitorIsolationSwitch";

    // Radio button ids of the two views.
    static constexpr int kViewByTime = 0;
    static constexpr int kViewByType = 1;

    AntivirusMonitorWidget();
    ~AntivirusMonitorWidget() override;
    Q_DISABLE_COPY_MOVE(AntivirusMonitorWidget)

    // Loads the resources in order and sets the page style sheet; stops at
    // the first failure with a FATAL line (text and errno) and returns false,
    // leaving the page without style sheet.
    bool initxml();

    void initUi() override;
    void setParentWidget(QWidget* parent) override;
    bool loadLogModule() override;
    void setCenterWidget(QWidget* widget) override;

public slots:
    // Shows the view of radio button `id`, creating it the first time.
    void onDealOnlineRuleClicked(int id);
    // The switch has turned to `on`: confirms turning on, or turns it back.
    void OnSwitchClicked(bool on);

private:
    enum class Answer
    {
        Accepted,
        Refused,
        PageGone, // the box went with the page while it was open
    };

    void showViewByTime();
    void showViewByType();

    // The channel to the service named in the settings file, or none.
    void connectIsolationService();
    Answer confirmIsolation();
    // Sends the change and keeps the switch busy until the answer.
    void tellService(bool on);
    // The service's answer to the change of the switch to `on`.
    void onIsolationAnswered(bool on, bool delivered);
    // Tells the user that the service could not be reached.
    void showServiceUnreachable();

    QLabel* m_titleLabel = nullptr;
    ControlByDataWidget* m_viewByTime = nullptr;
    ControlByClassWidget* m_viewByType = nullptr;
    QLabel* m_isolationLabel = nullptr;
    CSwitchButton* m_switch = nullptr;
    QWidget* m_centerWidget = nullptr;
    IsolationChannel* m_isolation = nullptr; // child of the page, or none
};
