#include "DemoHistory.h"

#include "ReportTime.h"

#include "monitor/lib/RecordCategory.h"

#include <algorithm>

#include <random>
#include <string>

namespace {

constexpr std::int64_t kMinute = 60 * 1000;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;

const char* const kThreats[] = {"Ransom.Cryptor.A", "Ransom.Glasslock.B", "Trojan.FileCoder.C",
                                "Ransom.Nightjar.D"};
const char* const kActions[] = {"已隔离", "已删除", "已阻止并隔离"};

Report Make(std::int32_t category, std::int64_t time, std::vector<std::string> fields)
{
    Report report;
    report.category = category;
    report.time = time;
    report.fields = std::move(fields);
    return report;
}

std::string Percent(std::mt19937& random, int low, int high)
{
    return std::to_string(std::uniform_int_distribution<int>(low, high)(random)) + "%";
}

Report ProgramStart(std::mt19937& random, std::int64_t time)
{
    return Make(RecordCategory::kProgramStart, time,
                {"客户端启动", ReportTime::FormatUtc(time), "192.168.10.23", "52:54:00:3a:7c:11",
                 "Kestrel K5-8500 @ 3.00GHz", "16 GB", "512 GB", "S4EWNX0M812345",
                 Percent(random, 3, 35), Percent(random, 30, 70), Percent(random, 40, 60),
                 "Windows 10 Pro 22H2", "64", "Brightwell B360M-A", "Sonora High Definition Audio",
                 "Kestrel Graphics 630", "DVD RW"});
}

Report Scan(std::mt19937& random, std::int64_t time, int weekday)
{
    const bool custom = std::uniform_int_distribution<int>(0, 9)(random) == 0;
    const std::string kind = weekday == 0 ? "全盘扫描" : custom ? "自定义扫描" : "快速扫描";
    const int files = weekday == 0 ? 180000 + static_cast<int>(random() % 40000)
                                   : 9000 + static_cast<int>(random() % 3000);
    return Make(RecordCategory::kExecuteScan, time,
                {kind, "扫描文件 " + std::to_string(files) + " 个，未发现威胁"});
}

} // namespace

DemoHistory::DemoHistory(int days, std::int64_t now) : m_days(days), m_now(now)
{}

void DemoHistory::Generate(const std::function<void(std::vector<Report>&)>& take) const
{
    std::mt19937 random(20261210);
    const std::int64_t today = m_now - m_now % kDay;
    int version = 300;
    for (int back = m_days - 1; back >= 0; --back) {
        const std::int64_t day = today - back * kDay;
        const int weekday = static_cast<int>((day / kDay + 4) % 7); // 1970-01-01 was a Thursday
        std::vector<Report> reports;
        const bool runs = weekday != 6 || random() % 3 == 0; // most Saturdays off
        if (runs) {
            const std::int64_t start =
                day + 7 * kHour + static_cast<std::int64_t>(random() % 90) * kMinute;
            const std::int64_t end = std::min(
                m_now, day + 18 * kHour + static_cast<std::int64_t>(random() % 120) * kMinute);
            if (start < end) {
                reports.push_back(ProgramStart(random, start));
                for (std::int64_t t = start + 5 * kMinute; t < end; t += 5 * kMinute) {
                    reports.push_back(Make(RecordCategory::kHeartbeat, t, {}));
                }
                reports.push_back(Scan(random, start + 2 * kHour, weekday));
                if (random() % 3 == 0) {
                    ++version;
                    reports.push_back(Make(RecordCategory::kUpdatePackage, start + 30 * kMinute,
                                           {"5.2." + std::to_string(version),
                                            "病毒库 " + std::to_string(version) + "，引擎修复"}));
                }
                if (random() % 12 == 0) {
                    reports.push_back(Make(RecordCategory::kRansomwareFound,
                                           start + static_cast<std::int64_t>(random() % 8) * kHour,
                                           {kThreats[random() % 4], kActions[random() % 3]}));
                }
            }
        }
        if (!reports.empty()) {
            take(reports);
        }
    }
}
