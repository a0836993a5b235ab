// monitor-host: loads the monitor plug-in beside this executable at run time,
// builds its page into a window in the client's order and shows it. Without
// a display, or with --screenshot DIR, it saves every screen of the page as
// PNG files instead and prints where they are. It also runs the stand-in of
// the client's service on the pipe that the page's settings name, so that the
// isolation switch has a service to tell. As a client of the log module it
// reports its start and a heartbeat every SECONDS (default 300), and nothing
// while isolation is on. The host stands in for the Chinese client: its
// locale is Chinese unless --language en asks for English (a "Language"
// setting in the page's settings file still decides first).
//
//     monitor-host [--screenshot DIR] [--language zh|en] [--heartbeat SECONDS]

#include "HostWindow.h"
#include "IsolationService.h"
#include "MonitorPlugin.h"
#include "Reporter.h"
#include "ScreenTour.h"

#include "base/Log.h"
#include "base/Logging.h"

#include <QApplication>
#include <QDir>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const char* const kDefaultScreenshotDirectory = "screenshots";

#if defined(_WIN32)
bool HasDisplay()
{
    return true;
}
#else
bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
#endif

// Whether windows would reach a screen: a display exists and no headless
// platform plug-in is asked for.
bool WindowsAreSeen()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return HasDisplay() && !platform.startsWith("offscreen") && !platform.startsWith("minimal");
}

struct Options
{
    bool screenshots = false;
    QString directory;
    QLocale::Language language = QLocale::Chinese;
    int heartbeatSeconds = 300;
    bool valid = true;
};

Options ParseOptions(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            options.screenshots = true;
            options.directory = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--language") == 0 && i + 1 < argc &&
                   (std::strcmp(argv[i + 1], "zh") == 0 || std::strcmp(argv[i + 1], "en") == 0)) {
            options.language =
                std::strcmp(argv[++i], "en") == 0 ? QLocale::English : QLocale::Chinese;
        } else if (std::strcmp(argv[i], "--heartbeat") == 0 && i + 1 < argc) {
            options.heartbeatSeconds = std::atoi(argv[++i]);
            options.valid = options.heartbeatSeconds > 0;
        } else {
            options.valid = false;
        }
    }
    return options;
}

int SaveScreens(HostWindow& window, const QString& directory)
{
    ScreenTour tour(window, directory);
    const QStringList written = tour.run();
    if (written.isEmpty()) {
        std::fprintf(stderr, "monitor-host: %s\n", qPrintable(tour.error()));
        return 1;
    }
    std::printf("monitor-host: %lld screens of the monitor page in %s\n",
                static_cast<long long>(written.size()),
                qPrintable(QDir::toNativeSeparators(QDir(directory).absolutePath())));
    for (const QString& path : written) {
        std::printf("  %s\n", qPrintable(QDir::toNativeSeparators(path)));
    }
    return 0;
}

// The host's own log: "log/monitor-host.out" beside the executable, UTF-8,
// every level.
void OpenHostLog()
{
    KO::Log::SetPath(L"./log/monitor-host");
    KO::Log::SetEncoding(1);
    KO::SetLogLevel(KO::LOG_LEVEL_INFO);
}

// The stand-in service on the pipe of the page's settings file, listening;
// a line on the console for what it is and for every message it receives.
void StartIsolationService(IsolationService& service)
{
    if (!service.listen()) {
        std::fprintf(stderr, "monitor-host: no isolation service: %s\n",
                     qPrintable(service.errorString()));
        return;
    }
    std::printf("monitor-host: isolation service on pipe %s, isolation %s\n",
                qPrintable(service.pipeName()), service.isolated() ? "on" : "off");
    QObject::connect(&service, &IsolationService::sigMessage, [&service](const QString& text) {
        std::printf("monitor-host: isolation service received \"%s\", isolation %s\n",
                    qPrintable(text), service.isolated() ? "on" : "off");
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char* argv[])
{
    Options options = ParseOptions(argc, argv);
    if (!options.valid) {
        std::fprintf(
            stderr,
            "usage: monitor-host [--screenshot DIR] [--language zh|en] [--heartbeat SECONDS]\n");
        return 2;
    }
    if (!WindowsAreSeen()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!options.screenshots) {
            options.screenshots = true;
            options.directory = kDefaultScreenshotDirectory;
        }
    }
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(options.language));
    OpenHostLog();

    const QString settings = QDir(QCoreApplication::applicationDirPath())
                                 .filePath(QStringLiteral("UiCommonSetting.ini"));
    IsolationService service(IsolationService::configuredPipeName(settings),
                             IsolationService::storedIsolation(settings));
    StartIsolationService(service);

    MonitorPlugin plugin(QCoreApplication::applicationDirPath());
    if (!plugin.load()) {
        std::fprintf(stderr, "monitor-host: cannot load the plug-in: %s\n",
                     qPrintable(plugin.errorString()));
        return 1;
    }
    std::unique_ptr<iAntivirusMonitor> page = plugin.createPage();
    if (page == nullptr) {
        std::fprintf(stderr, "monitor-host: the plug-in gave no page\n");
        return 1;
    }
    Reporter reporter(QCoreApplication::applicationDirPath(), options.heartbeatSeconds * 1000);
    reporter.setPaused(service.isolated());
    QObject::connect(&service, &IsolationService::sigIsolationChanged, &reporter,
                     &Reporter::setPaused);
    if (!reporter.start()) {
        std::fprintf(stderr, "monitor-host: no reports: %s\n", qPrintable(reporter.lastError()));
    }
    HostWindow window(std::move(page));
    std::printf("monitor-host: plug-in %s, log module %s\n",
                qPrintable(QDir::toNativeSeparators(plugin.fileName())),
                window.logModuleLoaded() ? "loaded" : "not loaded");
    std::fflush(stdout);

    if (options.screenshots) {
        return SaveScreens(window, options.directory);
    }
    window.show();
    return QApplication::exec();
}
