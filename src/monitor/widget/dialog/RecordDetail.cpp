#include "monitor/widget/dialog/RecordDetail.h"

#include "base/Logging.h"
#include "base_ui/controls/CInfoMessageBox.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRows.h"
#include "monitor/widget/dialog/RecordDetailTesting.h"

#include "KoLogModule.h"

#include <QFileDialog>
#include <QPointer>
#include <QSaveFile>

#include <utility>

namespace {

// String pool entries.
constexpr int kTextFirstEndpointName = 20000; // the box's sixteen slots: 20000 to 20015
constexpr int kTextExport = 20017;
constexpr int kTextTime = 20019;
constexpr int kTextScanKind = 20020;
constexpr int kTextScanResult = 20021;
constexpr int kTextThreatName = 20022;
constexpr int kTextAction = 20023;
constexpr int kTextVersion = 20024;
constexpr int kTextNotes = 20025;
constexpr int kTextRecordGone = 20026;
constexpr int kTextNoDetails = 20027;
constexpr int kTextExportFailed = 20028;
constexpr int kTextFileFilter = 20029;
constexpr int kTextDescription = 20030;

const QChar kFullWidthColon(0xFF1A);

std::function<QString()>& SavePathAnswer()
{
    static std::function<QString()> answer;
    return answer;
}

QString AskSavePath(QWidget* parent, std::int64_t id)
{
    if (SavePathAnswer()) {
        return SavePathAnswer()();
    }
    return QFileDialog::getSaveFileName(parent, CControlSetting::Text(kTextExport),
                                        QString("record-%1.txt").arg(id),
                                        CControlSetting::Text(kTextFileFilter));
}

CDetailMessageBox::Field Field(int nameText, const std::string& value)
{
    return {CControlSetting::Text(nameText), QString::fromStdString(value)};
}

// A value on one line: CR and LF written as the two characters \r and \n.
QString OneLine(QString value)
{
    return value.replace('\r', QStringLiteral("\\r")).replace('\n', QStringLiteral("\\n"));
}

} // namespace

namespace RecordDetailTesting {

void SetSavePathAnswer(std::function<QString()> answer)
{
    SavePathAnswer() = std::move(answer);
}

} // namespace RecordDetailTesting

// static
void RecordDetail::show(int category, std::int64_t id, QWidget* parent)
{
    const CLogModuleLib* const loader = CLogModuleLib::instance();
    std::optional<DiaryRecord> record;
    const CLogModuleLib::Fetch fetched =
        loader != nullptr
            ? loader->fetchRecord(id,
                                  [&record, category](const void* found) {
                                      record = DiaryRecord::FromModule(found, category);
                                  })
            : CLogModuleLib::Fetch::Failed;
    if (fetched == CLogModuleLib::Fetch::Found && record) {
        openBox(category, *record, parent);
        return;
    }
    const bool gone = fetched == CLogModuleLib::Fetch::NotFound;
    LOG_WARN << "the record " << id << " of category " << category << " cannot be shown: "
             << (gone ? "it no longer exists" : "the log module does not deliver it");
    notify(CControlSetting::Text(gone ? kTextRecordGone : kTextNoDetails), parent);
}

// static
std::vector<CDetailMessageBox::Field> RecordDetail::Fields(int category, const DiaryRecord& record)
{
    if (category == RecordCategory::kProgramStart) {
        std::vector<CDetailMessageBox::Field> fields;
        for (int slot = 0; slot < CDetailMessageBox::kFieldCount; ++slot) {
            fields.push_back(
                Field(kTextFirstEndpointName + slot,
                      record.field(KO_REPORT_FIELD_LAST_ACTIVE + static_cast<std::size_t>(slot))));
        }
        return fields;
    }
    std::vector<CDetailMessageBox::Field> fields{
        Field(kTextTime, DiaryRows::TimeText(record.time))};
    switch (category) {
    case RecordCategory::kExecuteScan:
        fields.push_back(Field(kTextScanKind, record.field(KO_REPORT_FIELD_SCAN_KIND)));
        fields.push_back(Field(kTextScanResult, record.field(KO_REPORT_FIELD_SCAN_RESULT)));
        break;
    case RecordCategory::kRansomwareFound:
        fields.push_back(Field(kTextThreatName, record.field(KO_REPORT_FIELD_THREAT_NAME)));
        fields.push_back(Field(kTextAction, record.field(KO_REPORT_FIELD_ACTION)));
        break;
    case RecordCategory::kUpdatePackage:
        fields.push_back(Field(kTextVersion, record.field(KO_REPORT_FIELD_VERSION)));
        fields.push_back(Field(kTextNotes, record.field(KO_REPORT_FIELD_NOTES)));
        break;
    default:
        break;
    }
    return fields;
}

// static
std::vector<CDetailMessageBox::Field> RecordDetail::ExportFields(int category,
                                                                 const DiaryRecord& record)
{
    std::vector<CDetailMessageBox::Field> fields = Fields(category, record);
    if (category == RecordCategory::kProgramStart) {
        fields.insert(fields.begin(),
                      {Field(kTextTime, DiaryRows::TimeText(record.time)),
                       Field(kTextDescription, record.field(KO_REPORT_FIELD_DESCRIPTION))});
    }
    return fields;
}

// static
QByteArray RecordDetail::ExportText(const std::vector<CDetailMessageBox::Field>& fields)
{
    QString text;
    for (const CDetailMessageBox::Field& field : fields) {
        QString name = field.name;
        if (!name.endsWith(kFullWidthColon) && !name.endsWith(':')) {
            name += kFullWidthColon;
        }
        text += name + OneLine(field.value) + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

// static
std::optional<QString> RecordDetail::Save(const std::vector<CDetailMessageBox::Field>& fields,
                                          const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    const QByteArray text = ExportText(fields);
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

// static
void RecordDetail::openBox(int category, const DiaryRecord& record, QWidget* parent)
{
    const std::vector<CDetailMessageBox::Field> fields = Fields(category, record);
    CDetailMessageBox* box = nullptr;
    if (category == RecordCategory::kProgramStart) {
        box = new CDetailMessageBox(parent);
        for (int slot = 0; slot < CDetailMessageBox::kFieldCount; ++slot) {
            box->setValue(slot, fields[static_cast<std::size_t>(slot)].value);
        }
    } else {
        box = new CDetailMessageBox(fields, parent);
    }
    const std::int64_t id = record.id;
    QObject::connect(
        box, &CDetailMessageBox::sigExport, box,
        [exported = ExportFields(category, record), id, box] { exportRecord(exported, id, box); });
    // Deleted once exec returns; a box that dies with its parent while it
    // runs ends exec as well.
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->exec();
}

// static
void RecordDetail::exportRecord(const std::vector<CDetailMessageBox::Field>& fields,
                                std::int64_t id, QWidget* box)
{
    const QString path = AskSavePath(box, id);
    if (path.isEmpty()) {
        return;
    }
    if (const std::optional<QString> reason = Save(fields, path)) {
        LOG_ERROR << "the record " << id << " cannot be exported to " << path.toStdString() << ": "
                  << reason->toStdString();
        notify(CControlSetting::Text(kTextExportFailed).arg(*reason), box);
    }
}

// static
void RecordDetail::notify(const QString& text, QWidget* parent)
{
    QPointer<CInfoMessageBox> box =
        new CInfoMessageBox(CInfoMessageBox::ModeNotice, text, QString(), parent);
    box->setIconType(CInfoMessageBox::IconFailure);
    box->hideRejectButton();
    box->setSingleButtonLayout();
    if (parent != nullptr) {
        box->moveToCenterOf(parent->window());
    }
    box->exec();
    // A box destroyed during exec went with its parent.
    delete box;
}
