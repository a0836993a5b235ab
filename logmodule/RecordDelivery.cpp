#include "RecordDelivery.h"

#include "InterfaceRecord.h"
#include "Journal.h"
#include "ReportError.h"
#include "ReportTime.h"

#include "base/Logging.h"

#include <algorithm>

RecordDelivery::RecordDelivery(Journal& journal)
    : m_journal(journal), m_thread(&RecordDelivery::Run, this)
{}

RecordDelivery::~RecordDelivery()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecordDelivery::Start(const Query& query)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        auto active = std::make_shared<Active>();
        active->query = query;
        m_pending.push_back(std::move(active));
    }
    m_wake.notify_one();
}

void RecordDelivery::Stop(void* context)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto ends = [&](const ActivePtr& active) {
        if (active->query.context != context) {
            return false;
        }
        active->stopped = true;
        return true;
    };
    m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(), ends), m_pending.end());
    m_live.erase(std::remove_if(m_live.begin(), m_live.end(), ends), m_live.end());
    if (std::this_thread::get_id() != m_thread.get_id()) {
        m_callbackDone.wait(lock, [&] { return !m_inCallback || m_callbackContext != context; });
    }
}

void RecordDelivery::Wake()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_woken = true;
    }
    m_wake.notify_one();
}

void RecordDelivery::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (!m_pending.empty()) {
            const ActivePtr active = m_pending.front();
            m_pending.pop_front();
            // Marked live first, so that Stop finds it while its history runs.
            m_live.push_back(active);
            lock.unlock();
            DeliverHistory(active);
            lock.lock();
            continue;
        }
        m_woken = false;
        lock.unlock();
        Maintain();
        PollLive();
        lock.lock();
        m_wake.wait_for(lock, kPollInterval,
                        [this] { return m_stopping || m_woken || !m_pending.empty(); });
    }
}

bool RecordDelivery::Deliver(Active& active, const Report& report, std::uint32_t flags)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (active.stopped || m_stopping) {
            return false;
        }
        m_inCallback = true;
        m_callbackContext = active.query.context;
    }
    std::int32_t result = 1;
    try {
        const InterfaceRecord record(report, flags);
        result = active.query.callback(active.query.context, &record.record(), ++active.delivered,
                                       static_cast<std::uint32_t>(report.category));
    } catch (const ReportError& error) {
        LOG_ERROR << "a record cannot be delivered: " << error.what();
        result = 0; // the query goes on without it
    }
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_inCallback = false;
        m_callbackContext = nullptr;
        if (result != 0) {
            active.stopped = true;
        }
    }
    m_callbackDone.notify_all();
    return result == 0;
}

void RecordDelivery::DeliverHistory(const ActivePtr& active)
{
    ReportStore::Range range;
    range.category = active->query.category;
    range.from = active->query.from;
    range.to = active->query.to;
    try {
        active->afterId = m_journal.Store().LastId();
        range.lastId = active->afterId;
        m_journal.Store().VisitNewestFirst(
            range, [&](const Report& report) { return Deliver(*active, report, 0); });
    } catch (const ReportError& error) {
        LOG_ERROR << "the records of category " << active->query.category
                  << " cannot be read: " << error.what();
    }
}

void RecordDelivery::PollLive()
{
    std::vector<ActivePtr> polled;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_live.erase(std::remove_if(m_live.begin(), m_live.end(),
                                    [](const ActivePtr& active) { return active->stopped; }),
                     m_live.end());
        polled = m_live;
    }
    if (polled.empty()) {
        return;
    }
    std::int64_t afterId = polled.front()->afterId;
    for (const ActivePtr& active : polled) {
        afterId = std::min(afterId, active->afterId);
    }
    try {
        m_journal.Store().VisitAfter(afterId, [&](const Report& report) {
            for (const ActivePtr& active : polled) {
                const Query& query = active->query;
                if (report.id > active->afterId && report.category == query.category &&
                    report.time >= query.from && report.time <= query.to) {
                    Deliver(*active, report, KO_REPORT_FLAG_LIVE);
                }
                active->afterId = std::max(active->afterId, report.id);
            }
            const std::lock_guard<std::mutex> lock(m_mutex);
            return !m_stopping;
        });
    } catch (const ReportError& error) {
        LOG_ERROR << "new records cannot be read: " << error.what();
    }
}

void RecordDelivery::Maintain()
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_journal.PruneDue() && now - m_lastPrune < kPruneInterval) {
        return;
    }
    m_lastPrune = now;
    try {
        m_journal.Prune(ReportTime::Now());
    } catch (const ReportError& error) {
        LOG_ERROR << "the journal cannot be pruned: " << error.what();
    }
}
