#pragma once

#include "monitor/widget/dialog/DiaryRecord.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CTableWidget;

// Turns the log module's records of one category into the diary's rows, in
// the category's columns:
//
// - program start: time, description, "查看";
// - ransomware found: time, "<threat name> <action>", "查看";
// - download update package: time, version, "查看";
// - execute scan: time, kind of scan, result, "查看";
// - heartbeat: one row per day: "yyyy-MM-dd", "<N>次" and
//   "最后活跃时间 ：<time of the day's last heartbeat>".
//
// Each row but a heartbeat day's keeps its record's journal id as its
// record key (TableRecordModel), for its view button.
//
// Times read "yyyy-MM-dd hh:mm:ss" in local time, so that a table sorted by
// its first column greatest first shows the newest record first. GUI thread.
class DiaryRows
{
public:
    explicit DiaryRows(int category) : m_category(category) {}

    // Adds the rows of `batch` to `table` with one appendRows; heartbeats of
    // a day already shown update its row instead.
    void add(const std::vector<DiaryRecord>& batch, CTableWidget& table);

    // Forgets the days counted so far (the table was emptied).
    void clear() { m_days.clear(); }

    // "yyyy-MM-dd hh:mm:ss" of `time` (milliseconds since 1970 UTC), local.
    static std::string TimeText(std::int64_t time);
    // "yyyy-MM-dd" of `time`, local.
    static std::string DayText(std::int64_t time);

private:
    struct Day
    {
        int count = 0;
        std::int64_t lastActive = 0;
    };

    std::vector<std::string> rowOf(const DiaryRecord& record) const;
    void addHeartbeats(const std::vector<DiaryRecord>& batch, CTableWidget& table);
    std::vector<std::string> dayRow(const std::string& day) const;

    const int m_category;
    std::map<std::string, Day> m_days;
};
