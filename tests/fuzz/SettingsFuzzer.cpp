// The CommonUtils settings functions on an arbitrary settings file: the
// reads must never crash, the log configuration taken from what they read
// must stay in range, and a key written into the file must read back as
// written.
#include "FuzzInput.h"

#include "base/Log.h"
#include "base/Logging.h"
#include "base_ui/utils/CommonUtils.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMaximumKeys = 64;

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString file =
        QString::fromStdString(FuzzInput::Get().WriteFile(data, size, "UiCommonSetting.ini"));

    // What Init_Log reads, applied as it applies it.
    int level = 5;
    if (CommonUtils::ReadIniInt(file, "Log", "Level", level)) {
        CommonUtils::Set_Log_Level(level);
        Check(KO::GetLogLevel() >= KO::LOG_LEVEL_FATAL && KO::GetLogLevel() <= KO::LOG_LEVEL_INFO,
              "log level out of range");
        KO::SetLogLevel(KO::LOG_LEVEL_INFO);
    }
    int megabytes = 10;
    if (CommonUtils::ReadIniInt(file, "Log", "Size", megabytes)) {
        CommonUtils::Set_Log_Size(megabytes);
        KO::Log::SetMaxFileSize(1000000);
    }

    // Every key the file holds reads as a string.
    QStringList keys = QSettings(file, QSettings::IniFormat).allKeys();
    keys = keys.mid(0, kMaximumKeys);
    for (const QString& key : keys) {
        const qsizetype slash = key.indexOf('/');
        const QString group = slash < 0 ? QString() : key.left(slash);
        QString value;
        Check(CommonUtils::ReadIniString(file, group, key.mid(slash + 1), value),
              "ReadIniString failed on a named file");
    }

    // A write into whatever the file holds reads back as written.
    const QString written =
        QString::fromUtf8(reinterpret_cast<const char*>(data),
                          static_cast<qsizetype>(std::min<std::size_t>(size, 64)));
    if (CommonUtils::WriteIniString(file, "XmlPath", "fuzz", written)) {
        QString read;
        Check(CommonUtils::ReadIniString(file, "XmlPath", "fuzz", read), "read back failed");
        Check(read == written, "the written value reads back changed");
        int number = 0;
        Check(CommonUtils::WriteIniInt(file, "Log", "Level", 3), "WriteIniInt failed");
        Check(CommonUtils::ReadIniInt(file, "Log", "Level", number) && number == 3,
              "the written number reads back changed");
    }
    return 0;
}
