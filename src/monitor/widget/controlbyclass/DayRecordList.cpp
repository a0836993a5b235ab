#include "monitor/widget/controlbyclass/DayRecordList.h"

#include "base_ui/tools/CControlSetting.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRows.h"

#include "KoLogModule.h"

#include <algorithm>
#include <iterator>

namespace {

// String pool entries.
constexpr int kTextProgramStart = 110000;
constexpr int kTextRansomwareFound = 110100;
constexpr int kTextUpdatePackage = 110200;
constexpr int kTextHeartbeat = 110300;
constexpr int kTextExecuteScan = 110400;
constexpr int kTextLastActive = 110521;
constexpr int kTextHeartbeatAbout = 100000011;

int TitleOf(int category)
{
    switch (category) {
    case RecordCategory::kProgramStart:
        return kTextProgramStart;
    case RecordCategory::kRansomwareFound:
        return kTextRansomwareFound;
    case RecordCategory::kUpdatePackage:
        return kTextUpdatePackage;
    case RecordCategory::kHeartbeat:
        return kTextHeartbeat;
    default:
        return kTextExecuteScan;
    }
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString TimeText(std::int64_t time)
{
    return Text(DiaryRows::TimeText(time));
}

QString LastActive(std::int64_t time)
{
    return CControlSetting::Text(kTextLastActive).arg(TimeText(time));
}

QString InfoOf(const DiaryRecord& record)
{
    switch (record.category) {
    case RecordCategory::kProgramStart:
        return Text(record.field(KO_REPORT_FIELD_DESCRIPTION));
    case RecordCategory::kRansomwareFound:
        return Text(record.field(KO_REPORT_FIELD_THREAT_NAME) + " " +
                    record.field(KO_REPORT_FIELD_ACTION));
    case RecordCategory::kUpdatePackage:
        return Text(record.field(KO_REPORT_FIELD_VERSION));
    case RecordCategory::kExecuteScan:
        return Text(record.field(KO_REPORT_FIELD_SCAN_KIND) + " " +
                    record.field(KO_REPORT_FIELD_SCAN_RESULT));
    default:
        return LastActive(record.time);
    }
}

// Newest first: by time, then by journal id.
bool Newer(const DiaryListRecord& a, const DiaryListRecord& b)
{
    return a.timeMs != b.timeMs ? a.timeMs > b.timeMs : a.id > b.id;
}

} // namespace

// static
DiaryListRecord DayRecordList::RowOf(const DiaryRecord& record)
{
    DiaryListRecord row;
    row.type = CControlSetting::Text(TitleOf(record.category));
    row.time = TimeText(record.time);
    row.about = CControlSetting::Text(kTextHeartbeatAbout);
    row.info = InfoOf(record);
    row.category = record.category;
    row.id = record.id;
    row.timeMs = record.time;
    return row;
}

void DayRecordList::reset(std::int64_t from, std::int64_t to)
{
    m_from = from;
    m_to = to;
    m_listed.clear();
    m_heartbeats.clear();
    m_starts.clear();
    m_rows.clear();
}

void DayRecordList::add(const std::vector<DiaryRecord>& batch)
{
    std::vector<DiaryListRecord> listed;
    const auto byTime = [](const Heartbeat& a, const Heartbeat& b) {
        return a.time != b.time ? a.time < b.time : a.id < b.id;
    };
    for (const DiaryRecord& record : batch) {
        if (record.time < m_from || record.time >= m_to) {
            continue;
        }
        if (record.category == RecordCategory::kHeartbeat) {
            const Heartbeat heartbeat{record.time, record.id};
            m_heartbeats.insert(
                std::upper_bound(m_heartbeats.begin(), m_heartbeats.end(), heartbeat, byTime),
                heartbeat);
            continue;
        }
        if (record.category == RecordCategory::kProgramStart) {
            m_starts.insert(std::upper_bound(m_starts.begin(), m_starts.end(), record.time),
                            record.time);
        }
        listed.push_back(RowOf(record));
    }
    std::sort(listed.begin(), listed.end(), Newer);
    const auto middle = static_cast<std::ptrdiff_t>(m_listed.size());
    m_listed.insert(m_listed.end(), std::make_move_iterator(listed.begin()),
                    std::make_move_iterator(listed.end()));
    std::inplace_merge(m_listed.begin(), m_listed.begin() + middle, m_listed.end(), Newer);
    rebuild();
}

std::vector<DiaryListRecord> DayRecordList::shownHeartbeats() const
{
    std::vector<DiaryListRecord> shown;
    std::int64_t lastActive = 0;
    std::size_t run = 0; // program starts at or before the heartbeat
    std::size_t shownRun = 0;
    for (const Heartbeat& heartbeat : m_heartbeats) {
        while (run < m_starts.size() && m_starts[run] <= heartbeat.time) {
            ++run;
        }
        if (shown.empty() || run != shownRun) {
            if (!shown.empty()) {
                shown.back().info = LastActive(lastActive);
            }
            DiaryRecord record;
            record.category = RecordCategory::kHeartbeat;
            record.id = heartbeat.id;
            record.time = heartbeat.time;
            shown.push_back(RowOf(record));
            shownRun = run;
        }
        lastActive = heartbeat.time;
    }
    if (!shown.empty()) {
        shown.back().info = LastActive(lastActive);
    }
    std::reverse(shown.begin(), shown.end());
    return shown;
}

void DayRecordList::rebuild()
{
    const std::vector<DiaryListRecord> heartbeats = shownHeartbeats();
    m_rows.clear();
    m_rows.reserve(m_listed.size() + heartbeats.size());
    std::merge(m_listed.begin(), m_listed.end(), heartbeats.begin(), heartbeats.end(),
               std::back_inserter(m_rows), Newer);
}
