#include "base_ui/utils/CommonUtils.h"

#include "base/Console.h"
#include "base/LocalTime.h"
#include "base/Log.h"
#include "base/Logging.h"
#include "base/NamedPipe.h"
#include "base/Process.h"
#include "base/ProcessQuery.h"
#include "base/SystemException.h"
#include "base/Unicode.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <thread>

namespace {

constexpr int kDefaultLogLevel = KO::LOG_LEVEL_INFO;
constexpr int kDefaultLogSizeMb = 10;
constexpr unsigned int kLogStageFiles = 2;
constexpr int kLogEncodingUtf8 = 1;
constexpr std::uint32_t kBytesPerMb = 1000000;
// The largest size in megabytes whose byte count fits the writer's limit.
constexpr int kMaxLogSizeMb = static_cast<int>(UINT32_MAX / kBytesPerMb);

const char kLogGroup[] = "Log";
const char kLevelKey[] = "Level";
const char kSizeKey[] = "Size";
const char kXmlPathGroup[] = "XmlPath";
const char kLogonUserGroup[] = "LogonUser";

// Environment entries that may name the user, most telling first.
const char* const kUserPatterns[] = {"USERNAME.*", "USER.*", "USERDOMAIN.*", "HOSTNAME.*",
                                     "DOMAINNAME.*"};
const char kUnknownUser[] = "unknown";
const char kRootUser[] = "root";

const wchar_t kDebugPrivilege[] = L"SeDebugPrivilege";

constexpr std::size_t kMaxPipeNameLength = 4095;
constexpr unsigned int kConnectTimeoutMs = 5000;
constexpr int kWriteAttempts = 5;
constexpr std::chrono::milliseconds kWritePause{500};

std::uint32_t LogSizeBytes(int megabytes)
{
    return static_cast<std::uint32_t>(std::clamp(megabytes, 0, kMaxLogSizeMb)) * kBytesPerMb;
}

QString FullKey(const QString& group, const QString& key)
{
    return group + QLatin1Char('/') + key;
}

// Sets group/key, writes the file and tells whether that worked.
bool WriteIniValue(const QString& file, const QString& group, const QString& key,
                   const QVariant& value, bool clearFile)
{
    if (file.isEmpty()) {
        return false;
    }
    QSettings settings(file, QSettings::IniFormat);
    // A file that does not parse would be rewritten with only the part that
    // could be read: leave its bytes alone and report the write failed. The
    // framework parses a section when it is first used, so use them all.
    settings.allKeys();
    if (settings.status() != QSettings::NoError) {
        return false;
    }
    if (clearFile) {
        settings.clear();
    }
    settings.beginGroup(group);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// "./Log/" for the module "bastion_ui", "./log/" for every other one.
QString StreamPath(const QString& moduleName, const char* suffix)
{
    const QString directory = moduleName == QLatin1String("bastion_ui") ? QStringLiteral("./Log/")
                                                                        : QStringLiteral("./log/");
    return directory + moduleName + QLatin1String(suffix);
}

bool CanAppendTo(const QByteArray& path)
{
    std::FILE* const file = std::fopen(path.constData(), "a");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

// Reopens `stream` onto `path` for appending, unbuffered.
void Reopen(const QByteArray& path, std::FILE* stream)
{
    if (std::freopen(path.constData(), "a", stream) != nullptr) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
}

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

// The name as a C string of at most kMaxPipeNameLength characters holds it.
std::wstring PipeName(const QString& given)
{
    std::wstring name = given.toStdWString();
    name.resize(std::min({name.size(), name.find(L'\0'), kMaxPipeNameLength}));
    return name;
}

void LogFailure(const KO::SystemException& exception)
{
    LOG_ERROR << exception.GetErrMsg() << ", ErrNum:" << exception.GetErrNum();
}

// The tool path when `fileName` names a regular executable file inside the
// application directory, else an empty string.
QString ToolPath(const QString& fileName)
{
    const QDir directory(QCoreApplication::applicationDirPath());
    const QString path = QDir::cleanPath(directory.path() + QLatin1Char('/') + fileName);
    const QString relative = directory.relativeFilePath(path);
    const bool inside =
        !relative.isEmpty() && relative != QLatin1String(".") && relative != QLatin1String("..") &&
        !relative.startsWith(QLatin1String("../")) && !QDir::isAbsolutePath(relative);
    const QFileInfo info(path);
    return inside && info.isFile() && info.isExecutable() ? path : QString();
}

} // namespace

// static
QString CommonUtils::settingsFilePath()
{
    return QStringLiteral("%1/UiCommonSetting.ini").arg(QCoreApplication::applicationDirPath());
}

// static
bool CommonUtils::ReadIniInt(const QString& file, const QString& group, const QString& key,
                             int& value)
{
    if (file.isEmpty()) {
        return false;
    }
    const QSettings settings(file, QSettings::IniFormat);
    const QString fullKey = FullKey(group, key);
    if (!settings.contains(fullKey)) {
        return false;
    }
    value = settings.value(fullKey).toInt();
    return true;
}

// static
bool CommonUtils::WriteIniInt(const QString& file, const QString& group, const QString& key,
                              int value)
{
    return WriteIniValue(file, group, key, value, false);
}

// static
bool CommonUtils::ReadIniString(const QString& file, const QString& group, const QString& key,
                                QString& value)
{
    if (file.isEmpty()) {
        return false;
    }
    const QSettings settings(file, QSettings::IniFormat);
    value = settings.value(FullKey(group, key)).toString();
    return true;
}

// static
bool CommonUtils::WriteIniString(const QString& file, const QString& group, const QString& key,
                                 const QString& value)
{
    return WriteIniValue(file, group, key, value, false);
}

// static
bool CommonUtils::WriteIniString(const QString& file, const QString& group, const QString& key,
                                 const QString& value, bool clearFile)
{
    return WriteIniValue(file, group, key, value, clearFile);
}

// static
void CommonUtils::Init_Log(const QString& prefix)
{
    KO::Log::SetPath(prefix.toStdWString());
    KO::Log::SetStageFileCount(kLogStageFiles);
    KO::Log::SetEncoding(kLogEncodingUtf8);

    const QString file = settingsFilePath();
    int level = kDefaultLogLevel;
    if (!ReadIniInt(file, kLogGroup, kLevelKey, level)) {
        WriteIniInt(file, kLogGroup, kLevelKey, level);
    }
    Set_Log_Level(level);

    int size = kDefaultLogSizeMb;
    if (!ReadIniInt(file, kLogGroup, kSizeKey, size)) {
        WriteIniInt(file, kLogGroup, kSizeKey, size);
    }
    KO::Log::SetMaxFileSize(LogSizeBytes(size));
}

// static
void CommonUtils::Update_Log_ini()
{
    int level = 0;
    if (!ReadIniInt(settingsFilePath(), kLogGroup, kLevelKey, level)) {
        LOG_ERROR << "update log level failed !";
        return;
    }
    Set_Log_Level(level);
}

// static
void CommonUtils::Set_Log_Level(int level)
{
    LOG_INFO << "Set log level: " << level;
    KO::SetLogLevel(std::clamp(level, static_cast<int>(KO::LOG_LEVEL_FATAL),
                               static_cast<int>(KO::LOG_LEVEL_INFO)));
}

// static
void CommonUtils::Set_Log_Size(int megabytes)
{
    LOG_TRACE << "Set log size: " << megabytes << "MB";
    KO::Log::SetMaxFileSize(LogSizeBytes(megabytes));
}

// static
void CommonUtils::Redirect_Std_Output(const QString& moduleName)
{
    if (moduleName.isEmpty()) {
        return;
    }
    const std::wstring prefix = KO::Log::OutputPrefix(KO::LocalTime::Now());
    const QString errPath = StreamPath(moduleName, ".stderr");
    const QString outPath = StreamPath(moduleName, ".stdout");
    const QByteArray errName = QFile::encodeName(errPath);
    const QByteArray outName = QFile::encodeName(outPath);

    // A failed reopen would close the stream for good: redirect only when
    // both files can be opened.
    if (!CanAppendTo(errName) || !CanAppendTo(outName)) {
        KO::Console::Err((QStringLiteral("Redirect_Std_Output: cannot open ") + errPath +
                          QStringLiteral(" and ") + outPath +
                          QStringLiteral("; standard output and error are kept."))
                             .toStdWString());
        return;
    }
    Reopen(errName, stderr);
    KO::Console::Err(prefix + L" stderr start");
    Reopen(outName, stdout);
    KO::Console::Out(prefix + L" stdout start.");
}

// static
void CommonUtils::SetXmlPath(const QString& key, const QString& path)
{
    if (!WriteIniString(settingsFilePath(), kXmlPathGroup, key, path)) {
        LOG_ERROR << "write xml path failed !";
    }
}

// static
QString CommonUtils::GetXmlPath(const QString& key)
{
    QString path;
    if (!ReadIniString(settingsFilePath(), kXmlPathGroup, key, path)) {
        LOG_ERROR << "read xml path failed !";
    }
    return path;
}

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

// static
int CommonUtils::sendMessage(const QString& pipeName, const QString& message)
{
    const std::wstring name = PipeName(pipeName);
    try {
        KO::LOCALSOCKET::NamedPipe pipe(name.c_str());
        if (pipe.Connect(kConnectTimeoutMs) < 0) {
            LOG_ERROR << "Connect " << name << " timeout.";
            return -1;
        }
        return clientWriteToServer(pipe, message.toStdWString());
    } catch (const KO::SystemException& exception) {
        LogFailure(exception);
        LOG_ERROR << "Send_Message failed.";
        return -1;
    }
}

// static
int CommonUtils::clientWriteToServer(KO::LOCALSOCKET::NamedPipe& pipe, const std::wstring& text)
{
    LOG_TRACE << "[write_buffer]:" << text;
    std::string bytes;
    KO::Unicode::AppendUtf16Le(text.data(), text.size(), bytes);
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt) {
        try {
            pipe.Write(bytes.data(), bytes.size());
            pipe.Flush();
            LOG_TRACE << "Write buffer success.";
            return 0;
        } catch (const KO::SystemException& exception) {
            LogFailure(exception);
            LOG_ERROR << "Write buffer failed.";
            std::this_thread::sleep_for(kWritePause);
        }
    }
    return -1;
}

// static
bool CommonUtils::startDetachedTool(const QString& fileName, const QString& argument)
{
    if (fileName.isEmpty()) {
        return false;
    }
    const QString path = ToolPath(fileName);
    if (path.isEmpty()) {
        LOG_ERROR << "Not a tool of the application directory: " << fileName.toStdString();
        return false;
    }
    if (!QProcess::startDetached(path, {argument})) {
        LOG_ERROR << "Start tool failed: " << path.toStdString();
        return false;
    }
    return true;
}

// static
bool CommonUtils::readXmlAttribute(const QDomElement& element, const QString& name, QString& value)
{
    if (!element.hasAttribute(name)) {
        return false;
    }
    value = element.attribute(name);
    return true;
}

// static
QString CommonUtils::wrapTextByWidth(const QString& text, int maxWidth, const QFontMetrics& metrics,
                                     const QString& separator)
{
    if (metrics.horizontalAdvance(text) <= maxWidth) {
        return text;
    }
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = 1; end <= text.size(); ++end) {
        const bool insidePair = end < text.size() && text.at(end - 1).isHighSurrogate() &&
                                text.at(end).isLowSurrogate();
        if (insidePair) {
            continue;
        }
        const QString piece = text.mid(start, end - start);
        if (metrics.horizontalAdvance(piece) >= maxWidth) {
            lines.append(piece);
            start = end;
        }
    }
    if (start < text.size()) {
        lines.append(text.mid(start));
    }
    return lines.join(separator);
}
