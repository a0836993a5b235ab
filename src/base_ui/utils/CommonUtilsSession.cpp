// The user, the logged-on user, processes and sessions.

#include "base_ui/utils/CommonUtils.h"

#include "base/Logging.h"
#include "base/Process.h"
#include "base/ProcessQuery.h"

#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

const char kLogonUserGroup[] = "LogonUser";

// Environment entries that may name the user, most telling first.
const char* const kUserPatterns[] = {"USERNAME.*", "USER.*", "USERDOMAIN.*", "HOSTNAME.*",
                                     "DOMAINNAME.*"};
const char kUnknownUser[] = "unknown";
const char kRootUser[] = "root";

const wchar_t kDebugPrivilege[] = L"SeDebugPrivilege";

// The value of the first entry that `pattern` matches as a whole, when that
// entry splits at "=" into exactly a name and a value; else nothing.
std::optional<QString> UserFrom(const QStringList& environment, const char* pattern)
{
    const QRegularExpression whole(QRegularExpression::anchoredPattern(QLatin1String(pattern)),
                                   QRegularExpression::DotMatchesEverythingOption);
    const auto entry = std::find_if(environment.begin(), environment.end(),
                                    [&](const QString& e) { return whole.match(e).hasMatch(); });
    if (entry == environment.end()) {
        return std::nullopt;
    }
    const QStringList parts = entry->split(QLatin1Char('='));
    return parts.size() == 2 ? std::optional<QString>(parts.at(1)) : std::nullopt;
}

std::uint32_t SessionOf(std::uint32_t processId)
{
    return KO::ProcessQuery::SessionIdOf(processId).value_or(0);
}

} // namespace

// static
QString CommonUtils::getUserName()
{
    const QStringList environment = QProcessEnvironment::systemEnvironment().toStringList();
    for (const char* pattern : kUserPatterns) {
        if (const std::optional<QString> user = UserFrom(environment, pattern)) {
            return *user;
        }
    }
    return QLatin1String(kUnknownUser);
}

// static
bool CommonUtils::isRootUser()
{
    return getUserName() == QLatin1String(kRootUser);
}

// static
void CommonUtils::setLogonUser(const QString& key)
{
    WriteIniString(settingsFilePath(), kLogonUserGroup, key, getUserName());
}

// static
bool CommonUtils::isLogonUserSame(const QString& key)
{
    // The read cannot fail: the settings file path is never empty.
    QString stored;
    ReadIniString(settingsFilePath(), kLogonUserGroup, key, stored);
    return stored == getUserName();
}

// static
bool CommonUtils::SessionIdSame(const QString& processName)
{
    const std::wstring executable =
        KO::ProcessQuery::ExecutableFileName(processName.toStdWString());
    const std::uint32_t currentId = KO::Process::CurrentId();
    const std::uint32_t currentSession = SessionOf(currentId);
    const std::uint32_t otherId = findProcessId(executable, currentId);
    const std::uint32_t otherSession = otherId == 0 ? 0 : SessionOf(otherId);
    LOG_DEBUG << "Current Pid: " << currentId << "; Current session id: " << currentSession
              << "; old Pid: " << otherId << "; old session id: " << otherSession;
    return currentSession == otherSession;
}

// static
std::uint32_t CommonUtils::findProcessId(const std::wstring& executable,
                                         std::uint32_t excludedParentId)
{
    enablePrivilege(kDebugPrivilege); // without it, fewer processes are seen
    return KO::ProcessQuery::FindProcessId(executable, excludedParentId);
}

// static
bool CommonUtils::enablePrivilege(const wchar_t* privilege)
{
    return KO::ProcessQuery::EnablePrivilege(privilege);
}

// static
int CommonUtils::getShowInfo(int option, const QString& processName, const QString& /*unused*/,
                             const QString& userName)
{
    LOG_TRACE << "begin get show Info.opt:" << option << " proName:" << processName.toStdWString()
              << " userName:" << userName.toStdWString();
    return 0;
}
