#include "monitor/widget/controlbyclass/DayRecordFeed.h"

#include "monitor/lib/CLogModuleLib.h"
#include "monitor/lib/RecordCategory.h"
#include "monitor/widget/dialog/DiaryRecordInbox.h"

#include <QDateTime>

#include <optional>
#include <utility>

DayRecordFeed::DayRecordFeed(CLogModuleLib& loader, QObject* parent)
    : QObject(parent), m_loader(loader), m_inbox(new DiaryRecordInbox(this))
{
    connect(m_inbox, &DiaryRecordInbox::arrived, this, &DayRecordFeed::addArrived);
}

DayRecordFeed::~DayRecordFeed()
{
    CLogModuleLib::stopRecords(this);
}

bool DayRecordFeed::show(const QDate& day)
{
    // Once stopRecords returns no record of the old day is delivered; what
    // the inbox holds of it is dropped.
    CLogModuleLib::stopRecords(this);
    m_inbox->take();
    m_day = day;
    const std::int64_t from = day.startOfDay().toMSecsSinceEpoch();
    const std::int64_t to = day.addDays(1).startOfDay().toMSecsSinceEpoch();
    m_records.reset(from, to);
    emit rowsChanged();

    bool queried = false;
    for (const std::int32_t category : RecordCategory::kAll) {
        // The ranged query includes both ends.
        queried = m_loader.queryRange(category, from, to - 1, this) || queried;
    }
    return queried;
}

void DayRecordFeed::loadData(const void* record, std::uint32_t /*value1*/, std::uint32_t value2)
{
    if (std::optional<DiaryRecord> copy =
            DiaryRecord::FromModule(record, static_cast<int>(value2))) {
        m_inbox->post(std::move(*copy));
    }
}

void DayRecordFeed::addArrived()
{
    const std::vector<DiaryRecord> batch = m_inbox->take(kRecordsPerTurn);
    if (batch.empty()) {
        return;
    }
    m_records.add(batch);
    emit rowsChanged();
}
