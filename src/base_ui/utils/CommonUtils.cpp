// Settings file access and the log configuration read from it; the other
// concerns of CommonUtils live in the CommonUtils*.cpp files beside it.

#include "base_ui/utils/CommonUtils.h"

#include "base/Log.h"
#include "base/Logging.h"

#include <QCoreApplication>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <cstdint>

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
