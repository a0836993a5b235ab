#include "monitor/widget/dialog/CProgramDiaryDialog.h"

#include "base/Logging.h"
#include "base_ui/controls/CCommonButton.h"
#include "base_ui/controls/CDetailMessageBox.h"
#include "base_ui/controls/CInfoMessageBox.h"
#include "base_ui/controls/CTableWidget.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/widget/dialog/CSelectDateDialog.h"
#include "monitor/widget/dialog/DiaryClock.h"
#include "monitor/widget/dialog/DiaryCsv.h"
#include "monitor/widget/dialog/RecordDetail.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <array>
#include <chrono>
#include <iterator>
#include <optional>
#include <utility>

namespace {

// String pool entries.
constexpr int kTextClear = 110500;
constexpr int kTextClose = 110501;
constexpr int kTextFirstFilter = 110502; // the six filter entries: 110502 to 110507
constexpr int kTextComboBox = 110511;
constexpr int kTextRecordsEnded = 110540;
constexpr int kTextCancel = 110517;
constexpr int kTextClearRecords = 110522;
constexpr int kTextConfirmClear = 110523;
constexpr int kTextClearFailed = 110524;
constexpr int kTextExportCsv = 110525;
constexpr int kTextExportFailed = 110526;
constexpr int kColourTitleBand = 110600;
constexpr int kColourExplanationBand = 110601;
constexpr int kColourLine = 110602;
constexpr int kColourBody = 110603;
constexpr int kColourHeader = 110604;
constexpr int kColourHeaderText = 110605;
constexpr int kColourCellText = 110606;
constexpr int kColourHandleOutline = 110607;
constexpr int kColourButtonText = 110610;

// Pixmap pool entries.
constexpr int kImageClose = 130000;
constexpr int kImageButton = 130001;

constexpr int kButtonPictures = 4;
constexpr int kButtonTop = 361;
constexpr int kTitleBandBottom = 40;
constexpr int kExplanationBandHeight = 100;
constexpr int kExplanationCentreHeight = 80;
constexpr int kBottomLineY = 349;

constexpr int kTableTop = 120;
constexpr int kTableHeight = 229;
constexpr int kTableRows = 5;
constexpr int kFirstColumnPadding = 20;
constexpr int kHeaderFontPixels = 14;

const char kSeeButtonName[] = "PROGRAM_DIARY_SEE_BTN";
const char kMenuName[] = "ProgramDiaryDialogMenu";
const char kComboBoxSheet[] = "QComboBox{background-color:#fbfbfb;border: 1px solid #d2d3de;}";

constexpr std::size_t kMaxColumns = 4;
// Records added to the table per turn of the event loop: a few milliseconds
// of sorted merging, so that a long history keeps the dialog responsive.
constexpr std::size_t kRecordsPerTurn = 2000;
// Records added before the first frame of the shown dialog: its top rows
// (the history comes newest first) at a fraction of a millisecond; the rest
// waits for that frame.
constexpr std::size_t kRecordsBeforeFirstFrame = 100;
constexpr int kFilterCount = 6;

QColor Colour(int id)
{
    return QColor(CControlSetting::Text(id));
}

} // namespace

struct CProgramDiaryDialog::Layout
{
    int category;
    int titleText;
    int explanationText;
    int columnCount;
    std::array<int, kMaxColumns> widths;
    std::array<int, kMaxColumns> headerTexts;
    // Text ids of the sample row's cells.
    std::array<int, kMaxColumns> cellTexts;
    // 1-based; 0 for none.
    int buttonColumn;
};

// static
const CProgramDiaryDialog::Layout* CProgramDiaryDialog::findLayout(int category)
{
    static const std::array<Layout, 5> layouts = {{
        {kProgramStart,
         110000,
         110005,
         3,
         {190, 185, 60},
         {110001, 110002, 110003},
         {100000000, 100000001, 100000002},
         3},
        {kRansomwareFound,
         110100,
         110105,
         3,
         {190, 185, 60},
         {110101, 110102, 110103},
         {100000000, 100000003, 100000002},
         3},
        {kUpdatePackage,
         110200,
         110205,
         3,
         {190, 155, 80},
         {110201, 110202, 110203},
         {100000000, 100000004, 100000002},
         3},
        {kHeartbeat,
         110300,
         110303,
         3,
         {165, 75, 210},
         {110301, 110302, 110304},
         {100000005, 100000006, 100000007},
         0},
        {kExecuteScan,
         110400,
         110406,
         4,
         {160, 80, 165, 40},
         {110401, 110402, 110403, 110404},
         {100000000, 100000008, 100000009, 100000002},
         4},
    }};
    for (const Layout& layout : layouts) {
        if (layout.category == category) {
            return &layout;
        }
    }
    return nullptr;
}

// static
CProgramDiaryDialog* CProgramDiaryDialog::create(int category, QWidget* parent)
{
    const Layout* layout = findLayout(category);
    if (layout == nullptr) {
        LOG_ERROR << "no diary for category " << category;
        return nullptr;
    }
    return new CProgramDiaryDialog(*layout, parent);
}

CProgramDiaryDialog::CProgramDiaryDialog(const Layout& layout, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint), m_category(layout.category), m_layout(layout),
      m_inbox(new DiaryRecordInbox(this)), m_rows(layout.category)
{
    connect(m_inbox, &DiaryRecordInbox::arrived, this, &CProgramDiaryDialog::showArrivedRecords);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(460, 400);
    buildFrame(layout);
    buildTable(layout);
    fillTable(layout);
    orderTabStops();
}

CProgramDiaryDialog::~CProgramDiaryDialog()
{
    CLogModuleLib::stopRecords(this);
}

void CProgramDiaryDialog::buildFrame(const Layout& layout)
{
    buildButtons();

    auto* title = new QLabel(this);
    CControlSetting::Set_Label_Text(title, layout.titleText, 3);
    title->move(14, 14);
    setAccessibleName(title->text());

    m_explanation = new QLabel(this);
    CControlSetting::Set_Label_Text(m_explanation, layout.explanationText, 3);
    placeExplanation();
}

void CProgramDiaryDialog::placeExplanation()
{
    m_explanation->move(20, kTitleBandBottom +
                                (kExplanationCentreHeight - m_explanation->height()) / 2);
}

void CProgramDiaryDialog::buildButtons()
{
    const QColor textColour = Colour(kColourButtonText);

    auto* close = new CCommonButton(CControlSetting::Image(kImageButton), kButtonPictures, this);
    close->setObjectName("ProgramDiaryDialogClose");
    close->setText(CControlSetting::Text(kTextClose));
    close->setTextColor(textColour, CCommonButton::StateMarked);
    close->adjustSize();
    close->move(width() - close->width() - 22, kButtonTop);
    connect(close, &CCommonButton::clicked, this, &CProgramDiaryDialog::slt_shutBtnClicked);

    auto* clear = new CCommonButton(CControlSetting::Image(kImageButton), kButtonPictures, this);
    clear->setObjectName("ProgramDiaryDialogClear");
    clear->setText(CControlSetting::Text(kTextClear));
    clear->setTextColor(textColour, CCommonButton::StateMarked);
    clear->adjustSize();
    clear->move(close->x() - clear->width() - 20, kButtonTop);
    connect(clear, &CCommonButton::clicked, this, &CProgramDiaryDialog::slt_clearBtnClicked);

    auto* corner = new CCommonButton(CControlSetting::Image(kImageClose), kButtonPictures, this);
    corner->setObjectName("ProgramDiaryDialogTitleClose");
    corner->adjustSize();
    corner->move(width() - corner->width() - 7, 7);
    corner->setAccessibleName(CControlSetting::Text(kTextClose));
    connect(corner, &CCommonButton::clicked, this, &CProgramDiaryDialog::slt_closeBtnClicked);
}

void CProgramDiaryDialog::orderTabStops()
{
    QWidget* const stops[] = {
        m_timeFilter,
        m_table,
        findChild<QWidget*>("ProgramDiaryDialogClear"),
        findChild<QWidget*>("ProgramDiaryDialogClose"),
        findChild<QWidget*>("ProgramDiaryDialogTitleClose"),
    };
    for (std::size_t k = 1; k < std::size(stops); ++k) {
        QWidget::setTabOrder(stops[k - 1], stops[k]);
    }
}

void CProgramDiaryDialog::buildTable(const Layout& layout)
{
    m_table = new CTableWidget(width() - 2, kTableHeight, kTableRows, layout.columnCount, this);
    // Colours first: their style sheets cost little on parts not yet
    // polished, and repolish every polished part otherwise.
    colourTable();
    QStringList labels;
    for (int column = 0; column < layout.columnCount; ++column) {
        const auto k = static_cast<std::size_t>(column);
        m_table->setColumnWidth(column + 1, layout.widths[k]);
        labels << CControlSetting::Text(layout.headerTexts[k]);
    }
    m_table->setHeaderLabels(labels);
    m_table->setHeaderPadding(1, kFirstColumnPadding);
    m_table->setHeaderFontPixelSize(kHeaderFontPixels);
    m_table->setColumnPadding(0, kFirstColumnPadding);
    if (layout.buttonColumn > 0) {
        m_table->setButtonColumn(layout.buttonColumn, kSeeButtonName);
    }
    connect(m_table, &CTableWidget::sig_toOtherWidget, this,
            &CProgramDiaryDialog::slt_ShowDetailDialog);
    m_table->move(1, kTableTop);
    m_table->setAccessibleName(accessibleName());
    m_table->setSortAfterRefresh(false);
    m_table->installEventFilter(this);
    buildTimeFilter();
}

void CProgramDiaryDialog::colourTable()
{
    m_table->setHeaderBackgroundColor(CControlSetting::Text(kColourHeader));
    m_table->setBackgroundColor(CControlSetting::Text(kColourBody));
    m_table->setHeaderTextColor(CControlSetting::Text(kColourHeaderText));
    m_table->setTextColor(CControlSetting::Text(kColourCellText));
    m_table->setHandleFill(180, 174, 174);
    m_table->setHandleBorderColor(CControlSetting::Text(kColourHandleOutline));
    m_table->setSelectedRowColor(252, 252, 252);
    m_table->setHeaderLineColor(CControlSetting::Text(kColourLine));
}

void CProgramDiaryDialog::buildTimeFilter()
{
    m_timeFilter = m_table->addHeaderComboBox(0);
    m_timeFilter->setObjectName(
        QString::fromStdString(CControlSetting::Get_Object_Name(kTextComboBox)));
    // The sheet before the items, which it would repolish.
    m_timeFilter->setStyleSheet(kComboBoxSheet);
    connect(m_timeFilter, &QComboBox::activated, this, &CProgramDiaryDialog::slt_TimeCboxActivated);
    m_dayChange = new QTimer(this);
    m_dayChange->setObjectName("ProgramDiaryDialogDayChange");
    m_dayChange->setSingleShot(true);
    m_dayChange->setTimerType(Qt::PreciseTimer);
    connect(m_dayChange, &QTimer::timeout, this,
            [this] { slt_TimeCboxActivated(m_appliedFilter); });
    for (int index = 0; index < kFilterCount; ++index) {
        m_timeFilter->addItem(CControlSetting::Text(kTextFirstFilter + index));
    }
}

void CProgramDiaryDialog::fillTable(const Layout& layout)
{
    // The loader answers false without a module: the sample rows stand in.
    CLogModuleLib* const loader = CLogModuleLib::instance();
    if (loader != nullptr && loader->queryRecords(m_category, this)) {
        // Newest first: greatest first cell (time or day) on top.
        m_table->setSorted(true);
        m_table->setKeepViewOnAdd(true);
        m_showsRecords = true;
        return;
    }
    CTableWidget::Row row;
    for (int column = 0; column < layout.columnCount; ++column) {
        row.push_back(
            CControlSetting::Get_Text(layout.cellTexts[static_cast<std::size_t>(column)]));
    }
    for (int copy = 0; copy < kSampleRowCount; ++copy) {
        m_table->appendRow(row);
    }
}

void CProgramDiaryDialog::loadData(const void* record, std::uint32_t value1, std::uint32_t value2)
{
    LOG_TRACE << "get data" << value1 << ":" << value2;
    if (std::optional<DiaryRecord> copy = DiaryRecord::FromModule(record, m_category)) {
        m_inbox->post(std::move(*copy));
    }
}

void CProgramDiaryDialog::recordsEnded()
{
    // On the releasing thread: the notice waits for the GUI thread, and is
    // dropped with the dialog if it goes first.
    QMetaObject::invokeMethod(this, &CProgramDiaryDialog::showRecordsEnded, Qt::QueuedConnection);
}

void CProgramDiaryDialog::showRecordsEnded()
{
    LOG_WARN << "the log module stopped; the diary of " << m_category
             << " receives no more records.";
    CControlSetting::Set_Label_Text(m_explanation, kTextRecordsEnded, 3);
    placeExplanation();
}

void CProgramDiaryDialog::showArrivedRecords()
{
    if (isVisible() && !m_framePainted) {
        if (!m_firstRecordsAdded) {
            m_firstRecordsAdded = true;
            m_rows.add(m_inbox->take(kRecordsBeforeFirstFrame), *m_table);
        }
        return;
    }
    m_rows.add(m_inbox->take(kRecordsPerTurn), *m_table);
}

void CProgramDiaryDialog::slt_closeBtnClicked()
{
    close();
}

void CProgramDiaryDialog::slt_shutBtnClicked()
{
    close();
}

void CProgramDiaryDialog::slt_clearBtnClicked()
{
    if (m_showsRecords) {
        clearRecords();
        return;
    }
    m_table->clearRows();
}

void CProgramDiaryDialog::clearRecords()
{
    if (!confirmClear()) {
        return;
    }
    CLogModuleLib* const loader = CLogModuleLib::instance();
    if (loader == nullptr || !loader->clearRecords(m_category)) {
        LOG_ERROR << "the records of category " << m_category << " are not cleared.";
        showFailure(CControlSetting::Text(kTextClearFailed));
        return;
    }
    // Records read before the clear that have not reached the table yet.
    m_inbox->take();
    m_table->clearRows();
    m_rows.clear();
    m_table->setSorted(true);
}

bool CProgramDiaryDialog::confirmClear()
{
    const QPointer<CProgramDiaryDialog> self(this);
    const QPointer<CInfoMessageBox> box = new CInfoMessageBox(
        CInfoMessageBox::ModeNotice, CControlSetting::Text(kTextConfirmClear), QString(), this);
    box->setIconType(CInfoMessageBox::IconQuestion);
    box->setRejectButton(CControlSetting::Text(kTextCancel), true);
    box->setAcceptButton(CControlSetting::Text(kTextClearRecords), true);
    box->moveToCenterOf(this);
    const int result = box->exec();
    if (self.isNull()) {
        return false;
    }
    delete box.data();
    return result == QDialog::Accepted;
}

void CProgramDiaryDialog::showFailure(const QString& text)
{
    const QPointer<CInfoMessageBox> box =
        new CInfoMessageBox(CInfoMessageBox::ModeNotice, text, QString(), this);
    box->setIconType(CInfoMessageBox::IconFailure);
    box->hideRejectButton();
    box->setSingleButtonLayout();
    box->moveToCenterOf(this);
    box->exec();
    // A box destroyed during exec went with the dialog.
    delete box.data();
}

// static
std::pair<QDate, QDate> CProgramDiaryDialog::filterDays(int index, const QDate& today)
{
    switch (index) {
    case FilterToday:
        return {today, today};
    case FilterThreeDays:
        return {today.addDays(-2), today};
    case FilterWeek:
        return {today.addDays(-6), today};
    case FilterMonth:
        return {today.addMonths(-1).addDays(1), today};
    default:
        return {};
    }
}

void CProgramDiaryDialog::filterRecords(int index, const QDate& first, const QDate& last)
{
    m_appliedFilter = index;
    m_table->filterByDate(0, first, last);
    // A filter counted back from today moves on at the next local midnight.
    if (index == FilterAll || index == FilterCustom) {
        m_dayChange->stop();
    } else {
        m_dayChange->start(
            std::chrono::milliseconds(DiaryClock::MsecsToMidnight(DiaryClock::Now())));
    }
}

void CProgramDiaryDialog::slt_TimeCboxActivated(int index)
{
    if (index != FilterCustom) {
        if (m_showsRecords) {
            const auto [first, last] = filterDays(index, DiaryClock::Now().date());
            filterRecords(index, first, last);
        }
        return;
    }
    delete m_dateDialog.data();
    m_dateDialog = new CSelectDateDialog(this);
    m_dateDialog->setWindowModality(Qt::WindowModal);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        m_dateDialog->move(desktop.x() + (desktop.width() - m_dateDialog->width()) / 2,
                           desktop.y() + (desktop.height() - m_dateDialog->height()) / 2);
    }
    connect(m_dateDialog, &CSelectDateDialog::sig_returndate, this,
            &CProgramDiaryDialog::slt_receiveDate);
    connect(m_dateDialog, &CSelectDateDialog::sig_emptyDate, this,
            &CProgramDiaryDialog::slt_showAllInfo);
    m_dateDialog->show();
}

void CProgramDiaryDialog::slt_ShowDetailDialog(int row, int /*column*/, const QPoint& /*point*/)
{
    if (m_showsRecords) {
        // The row's key is its record's id in the journal.
        RecordDetail::show(m_category, m_table->recordModel().key(row), this);
        return;
    }
    if (m_category != kProgramStart) {
        return;
    }
    // Deleted once exec returns; a box that dies with the diary while it runs
    // ends exec as well.
    auto* box = new CDetailMessageBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->exec();
}

void CProgramDiaryDialog::slt_receiveDate(const QDateTime& begin_date, const QDateTime& end_date)
{
    if (!m_showsRecords) {
        return;
    }
    // One day comes as that day twice, a period with the midnight after its
    // last day as end.
    const QDate first = begin_date.date();
    const QDate end = end_date.date();
    filterRecords(FilterCustom, first, end > first ? end.addDays(-1) : first);
}

void CProgramDiaryDialog::slt_showAllInfo()
{
    if (m_showsRecords) {
        m_timeFilter->setCurrentIndex(m_appliedFilter);
    }
}

bool CProgramDiaryDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_table) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ContextMenu) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        showExportMenu(menuEvent->reason() == QContextMenuEvent::Mouse
                           ? menuEvent->globalPos()
                           : m_table->mapToGlobal(m_table->dataArea().center()));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (menuKey || shiftF10) {
            const int selected = m_table->selectedRow();
            const int slot = selected - m_table->firstVisibleRow();
            const QRect row = slot >= 0 && slot < m_table->shownSlotCount()
                                  ? m_table->cellRect(slot, 0)
                                  : m_table->dataArea();
            showExportMenu(m_table->mapToGlobal(row.center()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CProgramDiaryDialog::showExportMenu(const QPoint& globalPos)
{
    delete findChild<QMenu*>(kMenuName);
    auto* menu = new QMenu(this);
    menu->setObjectName(kMenuName);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QAction* exportAction = menu->addAction(CControlSetting::Text(kTextExportCsv));
    // Queued: the file dialog opens once the menu has closed.
    connect(exportAction, &QAction::triggered, this, &CProgramDiaryDialog::exportCsv,
            Qt::QueuedConnection);
    menu->popup(globalPos);
}

void CProgramDiaryDialog::exportCsv()
{
    QString title = CControlSetting::Text(kTextExportCsv);
    title.remove(QChar(0x2026));
    const QPointer<CProgramDiaryDialog> self(this);
    const QString path = DiaryCsv::AskForPath(this, title);
    // The file dialog runs its own event loop, in which the diary may go.
    if (self.isNull() || path.isEmpty()) {
        return;
    }
    QString error;
    if (!DiaryCsv::Save(path, shownRowsAsCsv(), error)) {
        LOG_ERROR << "export to " << path.toStdWString() << " fails: " << error.toStdWString();
        showFailure(CControlSetting::Text(kTextExportFailed).arg(error));
    }
}

QByteArray CProgramDiaryDialog::shownRowsAsCsv() const
{
    const auto view = static_cast<std::size_t>(m_layout.buttonColumn - 1);
    const auto columns = static_cast<std::size_t>(m_layout.columnCount);
    QStringList header;
    for (std::size_t column = 0; column < columns; ++column) {
        if (column != view) {
            header << CControlSetting::Text(m_layout.headerTexts[column]);
        }
    }
    std::vector<DiaryCsv::Row> rows;
    const TableRecordModel& records = m_table->recordModel();
    rows.reserve(static_cast<std::size_t>(records.rowCount()));
    for (int index = 0; index < records.rowCount(); ++index) {
        DiaryCsv::Row row;
        for (std::size_t column = 0; column < columns; ++column) {
            if (column != view) {
                row.emplace_back(records.cell(index, static_cast<int>(column)));
            }
        }
        rows.push_back(std::move(row));
    }
    return DiaryCsv::Text(header, rows);
}

void CProgramDiaryDialog::mousePressEvent(QMouseEvent* event)
{
    if (!m_drag.Press(*this, event)) {
        QDialog::mousePressEvent(event);
    }
}

void CProgramDiaryDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.Move(*this, event)) {
        QDialog::mouseMoveEvent(event);
    }
}

void CProgramDiaryDialog::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    const auto fill = [&painter](const QColor& colour) {
        painter.setPen(colour);
        painter.setBrush(QBrush(colour, Qt::SolidPattern));
    };

    fill(Colour(kColourBody));
    painter.drawRect(rect());
    const QColor titleBand = Colour(kColourTitleBand);
    fill(titleBand);
    painter.drawRect(0, 0, right, kTitleBandBottom);
    fill(Colour(kColourExplanationBand));
    painter.drawRect(0, kTitleBandBottom, right, kExplanationBandHeight);

    painter.setPen(Colour(kColourLine));
    painter.drawLine(0, kBottomLineY, right, kBottomLineY);

    painter.setPen(titleBand);
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(right, bottom, 0, bottom);
    painter.drawLine(0, bottom, 0, 0);

    if (!m_framePainted) {
        // The records that waited for the first frame follow it.
        m_framePainted = true;
        QMetaObject::invokeMethod(this, &CProgramDiaryDialog::showArrivedRecords,
                                  Qt::QueuedConnection);
    }
}
