#pragma once

#include "monitor/lib/ILogRecordHandler.h"
#include "monitor/widget/controlbyclass/DayRecordList.h"

#include <QDate>
#include <QObject>

#include <cstdint>
#include <vector>

class CLogModuleLib;
class DiaryRecordInbox;

// Feeds the view by time with the log module's records of one local day:
// one ranged query per category over [the day's start, the next day's
// start), whose history and, for the present day, live records the module
// delivers on its own thread. loadData copies each record into an inbox,
// which hands them to the GUI thread in batches, one per turn of the event
// loop; each batch goes into the day's rows (DayRecordList) and
// rowsChanged() tells the view.
//
// show() for another day first ends the queries of the day shown, so that no
// record of that day arrives afterwards, and drops what its inbox still
// holds. The loader must outlive the feed. GUI thread only, except loadData.
class DayRecordFeed final : public QObject, public ILogRecordHandler
{
    Q_OBJECT

public:
    // Records a turn of the event loop adds at most.
    static constexpr std::size_t kRecordsPerTurn = 2000;

    DayRecordFeed(CLogModuleLib& loader, QObject* parent = nullptr);
    ~DayRecordFeed() override;
    Q_DISABLE_COPY_MOVE(DayRecordFeed)

    // Shows the records of `day` (local) from now on: the rows empty at once
    // and fill as the module delivers. False when the module refuses every
    // query.
    bool show(const QDate& day);

    const QDate& day() const { return m_day; }

    // The rows of the day, newest first.
    const std::vector<DiaryListRecord>& rows() const { return m_records.rows(); }

    // The module's thread: copies the record into the inbox.
    void loadData(const void* record, std::uint32_t value1, std::uint32_t value2) override;

signals:
    void rowsChanged();

private:
    // The GUI thread's side of the inbox: adds a batch of waiting records.
    void addArrived();

    CLogModuleLib& m_loader;
    DiaryRecordInbox* const m_inbox;
    DayRecordList m_records;
    QDate m_day;
};
