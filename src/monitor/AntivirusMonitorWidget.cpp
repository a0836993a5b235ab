#include "monitor/AntivirusMonitorWidget.h"

#include "monitor/IsolationChannel.h"

#include "base/Logging.h"
#include "base_ui/controls/CInfoMessageBox.h"
#include "base_ui/controls/CSwitchButton.h"
#include "base_ui/tools/CControlSetting.h"
#include "base_ui/tools/CKoPixmapPool.h"
#include "base_ui/tools/CKoQssPool.h"
#include "base_ui/tools/CKoStringPool.h"
#include "base_ui/tools/CLoadStyle.h"
#include "base_ui/utils/CommonUtils.h"
#include "base_ui/utils/UiLanguage.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/widget/controlbyclass/ControlByClassWidget.h"
#include "monitor/widget/controlbyclass/ControlByDataWidget.h"
#include "widgets/safetools/CKoSafeToolsPool.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>

#include <cerrno>
#include <functional>
#include <memory>
#include <vector>

namespace {

// String pool entries.
constexpr int kTextTitle = 4000;
constexpr int kTextViewByTime = 4001;
constexpr int kTextViewByType = 4002;
constexpr int kTextIsolation = 4007;
constexpr int kTextConfirmIsolation = 4008;
constexpr int kTextReject = 4009;
constexpr int kTextAccept = 4010;
constexpr int kTextServiceUnreachable = 4011;
// Pixmap pool entry of the switch's frame strip.
constexpr int kImageSwitch = 4101;

constexpr int kMargin = 10;
constexpr QSize kPageSize(850, 400);
constexpr QPoint kPagePos(22 - kMargin, 62);
constexpr int kRadioTopGap = 15;
constexpr int kRadioGap = 30;
constexpr QPoint kIsolationLabelPos(550, 5);
constexpr int kSwitchGap = 10;
// Icon type of CInfoMessageBox: failure.
constexpr int kIconFailure = 1;

const char* const kLogPrefix = "./log/AntivirusMonitor";

// The style-sheet pool only ever appends: the page's sheet goes into it once
// per process, so that every page gets the same sheet instead of one more
// copy per page.
bool LoadPageStyleSheet()
{
    static bool loaded = false;
    if (!loaded) {
        loaded = CKoQssPool::LoadQss(":/xml/AMstyle.css") == 0;
    }
    return loaded;
}

QRadioButton* NewRadioButton(int textId, const char* objectName, QWidget* parent)
{
    auto* button = new QRadioButton(CControlSetting::Text(textId), parent);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

AntivirusMonitorWidget::AntivirusMonitorWidget()
{
    // The log comes first, so that a resource that fails to load is
    // reported in the page's own log file.
    CommonUtils::Init_Log(QString::fromLatin1(kLogPrefix));
    initxml();
}

AntivirusMonitorWidget::~AntivirusMonitorWidget()
{
    delete m_titleLabel;
    delete m_viewByTime;
    delete m_viewByType;
}

bool AntivirusMonitorWidget::initxml()
{
    QString baseSheet;
    const UiLanguage::Language language = UiLanguage::choose(CommonUtils::settingsFilePath());
    const auto loadTexts = [language](const char* path) {
        return UiLanguage::load(path, language, "s", CKoStringPool::LoadXml) >= 0;
    };
    struct Step
    {
        const char* failure;
        std::function<bool()> load;
    };
    const Step steps[] = {
        {" load AMtext.xml fails,ErrNum:", [&loadTexts] { return loadTexts(":/xml/AMtext.xml"); }},
        {" load base_ui.css fails, ErrNum:",
         [&baseSheet] {
             return CLoadStyle::loadStyleSheet(":/base_ui_xml/base_ui_style.xml",
                                               ":/base_ui_xml/base_ui.css", baseSheet);
         }},
        {" load base_ui_text.xml fails,ErrNum:",
         [&loadTexts] { return loadTexts(":/base_ui_xml/base_ui_text.xml"); }},
        {"load AMstyle.css fails, ErrNum:", [] { return LoadPageStyleSheet(); }},
        {" load safe_tools.xml fails,ErrNum:",
         [language] {
             return UiLanguage::load(":/xml/safe_tools.xml", language, "item",
                                     [](const QString& path) {
                                         return CKoSafeToolsPool::LoadXml(path.toStdString());
                                     }) >= 0;
         }},
        {" load AMImage.xml fails,ErrNum:",
         [] { return CKoPixmapPool::LoadXml(":/xml/AMImage.xml") >= 0; }},
        {" load base_ui_pixmap.xml fails,ErrNum:",
         [] { return CKoPixmapPool::LoadXml(":/base_ui_xml/base_ui_pixmap.xml") >= 0; }},
    };
    for (const Step& step : steps) {
        if (!step.load()) {
            const int error = errno;
            LOG_FATAL << step.failure << error;
            return false;
        }
    }
    setStyleSheet(QString::fromStdString(CKoQssPool::Get().Text()) + baseSheet);
    return true;
}

void AntivirusMonitorWidget::initUi()
{
    resize(kPageSize);
    move(kPagePos);

    m_titleLabel = new QLabel(this);
    CControlSetting::Set_Label_Text(m_titleLabel, kTextTitle, 3);
    m_titleLabel->show();
    m_titleLabel->move(kMargin, 0);

    QRadioButton* byTime = NewRadioButton(kTextViewByTime, "AntivirusMonitorViewByTime", this);
    byTime->move(kMargin, m_titleLabel->y() + m_titleLabel->height() + kRadioTopGap);
    byTime->adjustSize();
    QRadioButton* byType = NewRadioButton(kTextViewByType, "AntivirusMonitorViewByType", this);
    byType->move(byTime->x() + byTime->width() + kRadioGap, byTime->y());
    byType->adjustSize();

    auto* group = new QButtonGroup(this);
    group->addButton(byTime, kViewByTime);
    group->addButton(byType, kViewByType);
    connect(group, &QButtonGroup::idClicked, this,
            &AntivirusMonitorWidget::onDealOnlineRuleClicked);
    byTime->setChecked(true);
    onDealOnlineRuleClicked(kViewByTime);

    m_isolationLabel = new QLabel(CControlSetting::Text(kTextIsolation), this);
    m_isolationLabel->setObjectName("btntextStyle");
    m_isolationLabel->adjustSize();
    m_isolationLabel->move(kIsolationLabelPos);

    connectIsolationService();
    m_switch = new CSwitchButton(
        QString::fromStdString(CControlSetting::Get_Pixmap_Path(kImageSwitch)), this);
    m_switch->setObjectName(kSwitchObjectName);
    // A new switch rests on its "on" frame: a stored "on" is shown as it is.
    if (m_isolation == nullptr || !IsolationChannel::storedOn(CommonUtils::settingsFilePath())) {
        m_switch->setChecked(false);
    }
    m_switch->adjustSize();
    m_switch->move(m_isolationLabel->x() + m_isolationLabel->width() + kSwitchGap, 0);
    connect(m_switch, qOverload<bool>(&CSwitchButton::clicked), this,
            &AntivirusMonitorWidget::OnSwitchClicked);
    // Screen readers name the switch by its label; Tab reaches it right after
    // the radio buttons, before the view below them.
    m_switch->setAccessibleName(m_isolationLabel->text());
    QWidget::setTabOrder(byType, m_switch);
}

void AntivirusMonitorWidget::setParentWidget(QWidget* parent)
{
    // A widget moved with its style sheet is polished with it at once, and
    // the sheet is parsed again when the widget is shown. Moved without it
    // and given it back, the page parses its sheet once.
    const QString sheet = styleSheet();
    setStyleSheet(QString());
    setParent(parent);
    setStyleSheet(sheet);
}

bool AntivirusMonitorWidget::loadLogModule()
{
    // Loaders are never destroyed: the diary dialogs reach the last one as
    // the registered instance, and an earlier one may still deliver records.
    static auto* const loaders = new std::vector<std::unique_ptr<CLogModuleLib>>();
    loaders->push_back(std::make_unique<CLogModuleLib>());
    if (!loaders->back()->LoadSdk()) {
        return false;
    }
    // The view by time, built before the module was loaded, shows its records.
    if (m_viewByTime != nullptr) {
        m_viewByTime->useLogModule(loaders->back().get());
    }
    return true;
}

void AntivirusMonitorWidget::setCenterWidget(QWidget* widget)
{
    m_centerWidget = widget;
}

void AntivirusMonitorWidget::onDealOnlineRuleClicked(int id)
{
    if (id == kViewByTime) {
        showViewByTime();
    } else if (id == kViewByType) {
        showViewByType();
    }
}

void AntivirusMonitorWidget::showViewByTime()
{
    if (m_viewByTime == nullptr) {
        m_viewByTime = new ControlByDataWidget(this);
        m_viewByTime->initShow();
    }
    if (m_viewByType != nullptr) {
        m_viewByType->hide();
    }
    m_viewByTime->show();
}

void AntivirusMonitorWidget::showViewByType()
{
    if (m_viewByType == nullptr) {
        m_viewByType = new ControlByClassWidget(this);
        m_viewByType->initShow();
    }
    m_viewByType->show();
    if (m_viewByTime != nullptr) {
        m_viewByTime->hide();
    }
}

void AntivirusMonitorWidget::OnSwitchClicked(bool on)
{
    LOG_TRACE << "switch turn:" << (on ? 1 : 0);
    if (on) {
        const Answer answer = confirmIsolation();
        if (answer == Answer::PageGone) {
            return;
        }
        if (answer == Answer::Refused) {
            m_switch->setChecked(false);
            return;
        }
    }
    if (m_isolation != nullptr) {
        tellService(on);
    }
}

AntivirusMonitorWidget::Answer AntivirusMonitorWidget::confirmIsolation()
{
    QPointer<CInfoMessageBox> box = new CInfoMessageBox(
        CInfoMessageBox::ModeNotice, CControlSetting::Text(kTextConfirmIsolation), QString(), this);
    box->setRejectButton(CControlSetting::Text(kTextReject), true);
    box->setAcceptButton(CControlSetting::Text(kTextAccept), true);
    if (m_centerWidget != nullptr) {
        box->moveToCenterOf(m_centerWidget);
    }
    const int result = box->exec();
    if (box.isNull()) {
        return Answer::PageGone;
    }
    delete box;
    return result == QDialog::Accepted ? Answer::Accepted : Answer::Refused;
}

void AntivirusMonitorWidget::connectIsolationService()
{
    const QString settingsFile = CommonUtils::settingsFilePath();
    const QString pipeName = IsolationChannel::configuredPipe(settingsFile);
    if (pipeName.isEmpty()) {
        return;
    }
    m_isolation = new IsolationChannel(pipeName, settingsFile, this);
    connect(m_isolation, &IsolationChannel::sigAnswered, this,
            [this](bool on, bool delivered) { onIsolationAnswered(on, delivered); });
}

void AntivirusMonitorWidget::tellService(bool on)
{
    m_switch->setClickable(false);
    m_switch->setCursor(Qt::BusyCursor);
    m_isolation->send(on);
}

void AntivirusMonitorWidget::onIsolationAnswered(bool on, bool delivered)
{
    m_switch->setClickable(true);
    if (!delivered) {
        m_switch->setChecked(!on);
        showServiceUnreachable();
    }
}

void AntivirusMonitorWidget::showServiceUnreachable()
{
    QPointer<CInfoMessageBox> box =
        new CInfoMessageBox(CInfoMessageBox::ModeNotice,
                            CControlSetting::Text(kTextServiceUnreachable), QString(), this);
    box->setIconType(kIconFailure);
    box->hideRejectButton();
    box->setSingleButtonLayout();
    if (m_centerWidget != nullptr) {
        box->moveToCenterOf(m_centerWidget);
    }
    box->exec();
    // A box destroyed during exec went with the page.
    delete box;
}
