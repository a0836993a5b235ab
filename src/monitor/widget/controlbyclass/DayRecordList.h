#pragma once

#include "monitor/widget/controlbyclass/DiaryListRecord.h"
#include "monitor/widget/dialog/DiaryRecord.h"

#include <cstdint>
#include <vector>

// The rows of the view by time for one local day: the log module's records
// of all five categories whose time lies in [from, to), newest first (by
// time, then by journal id), in the row layout of the sample rows:
//
// - type: the category's title ("程序启动", "发现勒索程序", "下载更新包",
//   "心跳上报时间", "执行扫描");
// - time: "yyyy-MM-dd hh:mm:ss", local;
// - info: program start: its description; ransomware found: "<threat name>
//   <action>"; download update package: its version; execute scan: "<kind>
//   <result>"; heartbeat: "最后活跃时间 ：<time>" of the last heartbeat of
//   the same run;
// - about: the heartbeat explanation, shown by heartbeat rows.
//
// Heartbeats come every few seconds, so the list shows only the first
// heartbeat after each program start of the day, and the day's first
// heartbeat before the day's first program start (a program started on an
// earlier day that is still running). A run is the time from one program
// start to the next; a heartbeat at the very millisecond of a start belongs
// to the run that the start begins. The heartbeat diary shows them all.
//
// Plain data of the GUI thread.
class DayRecordList
{
public:
    // Forgets every record and keeps, from now on, only those with a time in
    // [from, to) (milliseconds since 1970 UTC).
    void reset(std::int64_t from, std::int64_t to);

    // Adds the records of `batch` that lie in the day; records of any
    // category, in any order.
    void add(const std::vector<DiaryRecord>& batch);

    // The rows, newest first.
    const std::vector<DiaryListRecord>& rows() const { return m_rows; }

    // The row of a record (a heartbeat's info names its own time).
    static DiaryListRecord RowOf(const DiaryRecord& record);

private:
    struct Heartbeat
    {
        std::int64_t time;
        std::int64_t id;
    };

    // The shown heartbeats, newest first.
    std::vector<DiaryListRecord> shownHeartbeats() const;
    void rebuild();

    std::int64_t m_from = 0;
    std::int64_t m_to = 0;
    // Rows of every category but heartbeats, newest first.
    std::vector<DiaryListRecord> m_listed;
    // Every heartbeat of the day and every program start time, oldest first.
    std::vector<Heartbeat> m_heartbeats;
    std::vector<std::int64_t> m_starts;
    std::vector<DiaryListRecord> m_rows;
};
