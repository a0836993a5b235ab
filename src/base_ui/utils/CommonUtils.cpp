#include "base_ui/utils/CommonUtils.h"

#include "base/Console.h"
#include "base/LocalTime.h"
#include "base/Log.h"
#include "base/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomElement>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QProcess>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

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
