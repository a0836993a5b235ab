#include "Reporter.h"

#include "EndpointInfo.h"

#include "KoLogModule.h"

#include <QDateTime>
#include <QDir>

#include <vector>

namespace {

using CreateFunction = int32_t (*)(const KoInterfaceId*, KoLogModule**);
using DestroyFunction = int32_t (*)(KoLogModule*);

} // namespace

Reporter::Reporter(const QString& directory, int intervalMs, QObject* parent)
    : QObject(parent), m_library(QDir(directory).filePath("KoLogModule"))
{
    m_heartbeat.setInterval(intervalMs);
    connect(&m_heartbeat, &QTimer::timeout, this, [this] { reportHeartbeat(); });
}

Reporter::~Reporter()
{
    if (m_module != nullptr) {
        reinterpret_cast<DestroyFunction>(m_library.resolve("DestroyDllObject"))(m_module);
    }
}

bool Reporter::start()
{
    return load() && (m_paused || report());
}

void Reporter::setPaused(bool paused)
{
    if (paused == m_paused) {
        return;
    }
    m_paused = paused;
    if (paused) {
        m_heartbeat.stop();
    } else if (m_module != nullptr) {
        report();
    }
}

bool Reporter::report()
{
    if (!m_startReported) {
        if (!reportStart()) {
            return false;
        }
        m_startReported = true;
    }
    reportHeartbeat();
    m_heartbeat.start();
    return true;
}

bool Reporter::load()
{
    const auto create = reinterpret_cast<CreateFunction>(m_library.resolve("CreateDllObject"));
    const KoInterfaceId id = KO_LOG_MODULE_INTERFACE_ID;
    if (create == nullptr || m_library.resolve("DestroyDllObject") == nullptr ||
        create(&id, &m_module) != 0 || m_module == nullptr) {
        m_lastError = "cannot load the log module: " + m_library.errorString();
        m_module = nullptr;
        return false;
    }
    return true;
}

bool Reporter::reportStart()
{
    return append(KO_REPORT_PROGRAM_START,
                  QStringList{"monitor-host started"} + EndpointInfo::Collect());
}

bool Reporter::reportHeartbeat()
{
    return append(KO_REPORT_HEARTBEAT, {});
}

bool Reporter::append(int category, const QStringList& fields)
{
    if (m_module == nullptr) {
        return false;
    }
    std::vector<const KoReportChar*> texts;
    for (const QString& field : fields) {
        texts.push_back(reinterpret_cast<const KoReportChar*>(field.utf16()));
    }
    KoReportRecord record{};
    record.size = sizeof record;
    record.category = category;
    record.time = QDateTime::currentMSecsSinceEpoch();
    record.fieldCount = static_cast<uint32_t>(texts.size());
    record.fields = texts.data();
    const auto appendEntry =
        reinterpret_cast<KoReportAppendFunction>(m_module->table[KO_REPORT_ENTRY_APPEND]);
    if (appendEntry(m_module, &record) == KO_REPORT_OK) {
        return true;
    }
    KoReportChar message[512];
    reinterpret_cast<KoReportLastErrorFunction>(m_module->table[KO_REPORT_ENTRY_LAST_ERROR])(
        m_module, message, 512);
    m_lastError = QString::fromUtf16(reinterpret_cast<const char16_t*>(message));
    return false;
}
