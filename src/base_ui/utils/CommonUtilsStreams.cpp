// Redirection of the standard output and error streams into files.

#include "base_ui/utils/CommonUtils.h"

#include "base/Console.h"
#include "base/LocalTime.h"
#include "base/Log.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>

namespace {

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

} // namespace

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
