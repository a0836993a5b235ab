#include "monitor/widget/dialog/DiaryRows.h"

#include "base_ui/controls/CTableWidget.h"
#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/RecordCategory.h"

#include "KoLogModule.h"

#include <QDateTime>

#include <algorithm>
#include <set>

namespace {

// String pool entries.
constexpr int kTextView = 100000002;
constexpr int kTextHeartbeatCount = 110520;
constexpr int kTextLastActive = 110521;

QDateTime LocalTime(std::int64_t time)
{
    return QDateTime::fromMSecsSinceEpoch(time).toLocalTime();
}

} // namespace

// static
std::string DiaryRows::TimeText(std::int64_t time)
{
    return LocalTime(time).toString("yyyy-MM-dd hh:mm:ss").toStdString();
}

// static
std::string DiaryRows::DayText(std::int64_t time)
{
    return LocalTime(time).toString("yyyy-MM-dd").toStdString();
}

void DiaryRows::add(const std::vector<DiaryRecord>& batch, CTableWidget& table)
{
    if (m_category == RecordCategory::kHeartbeat) {
        addHeartbeats(batch, table);
        return;
    }
    std::vector<CTableWidget::Row> rows;
    std::vector<std::int64_t> ids;
    rows.reserve(batch.size());
    ids.reserve(batch.size());
    for (const DiaryRecord& record : batch) {
        rows.push_back(rowOf(record));
        ids.push_back(record.id);
    }
    table.appendRows(rows, ids);
}

std::vector<std::string> DiaryRows::rowOf(const DiaryRecord& record) const
{
    const std::string time = TimeText(record.time);
    const std::string view = CControlSetting::Get_Text(kTextView);
    switch (m_category) {
    case RecordCategory::kProgramStart:
        return {time, record.field(KO_REPORT_FIELD_DESCRIPTION), view};
    case RecordCategory::kRansomwareFound:
        return {time,
                record.field(KO_REPORT_FIELD_THREAT_NAME) + " " +
                    record.field(KO_REPORT_FIELD_ACTION),
                view};
    case RecordCategory::kUpdatePackage:
        return {time, record.field(KO_REPORT_FIELD_VERSION), view};
    case RecordCategory::kExecuteScan:
        return {time, record.field(KO_REPORT_FIELD_SCAN_KIND),
                record.field(KO_REPORT_FIELD_SCAN_RESULT), view};
    default:
        return {time};
    }
}

void DiaryRows::addHeartbeats(const std::vector<DiaryRecord>& batch, CTableWidget& table)
{
    std::set<std::string> touched;
    for (const DiaryRecord& record : batch) {
        const std::string day = DayText(record.time);
        Day& entry = m_days[day];
        ++entry.count;
        entry.lastActive = entry.count == 1 ? record.time : std::max(entry.lastActive, record.time);
        touched.insert(day);
    }
    std::vector<CTableWidget::Row> added;
    for (const std::string& day : touched) {
        // A day row hidden by the time filter is updated where it waits.
        if (!table.replaceRow(0, day, dayRow(day))) {
            added.push_back(dayRow(day));
        }
    }
    table.appendRows(added);
}

std::vector<std::string> DiaryRows::dayRow(const std::string& day) const
{
    const Day& entry = m_days.at(day);
    return {day, CControlSetting::Text(kTextHeartbeatCount).arg(entry.count).toStdString(),
            CControlSetting::Text(kTextLastActive)
                .arg(QString::fromStdString(TimeText(entry.lastActive)))
                .toStdString()};
}
