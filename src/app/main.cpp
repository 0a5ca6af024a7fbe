#include "capture/CapturePipeline.h"
#include "capture/PBContentComparer.h"
#include "capture/PBWatcher.h"
#include "platform/Platform.h"
#include "platform/PlatformLinux.h"
#include "platform/UnixSignals.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsManager.h"

#include <QGuiApplication>
#include <csignal>
#include <cstdio>

namespace {
bool hasGraphicalSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char** argv)
{
    if (!hasGraphicalSession()) {
        std::fputs("vantrel: no graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "to try it without one: xvfb-run -a vantrel\n",
                   stderr);
        return 1;
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("vantrel"));
    QGuiApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    UnixSignals unixSignals({SIGINT, SIGTERM, SIGHUP});
    QObject::connect(&unixSignals, &UnixSignals::received, &app, &QCoreApplication::quit);
    PlatformLinux platform;

    SettingsManager& settings = SettingsManager::sharedManager();
    DBManager& history = DBManager::sharedManager();
    PBContentComparer comparer(settings.model());
    CapturePipeline pipeline(Platform::workspace(), comparer, DataManager::sharedManager(),
                             history);
    history.fetchAllItems([] {});

    PBWatcher& watcher = PBWatcher::sharedWatcher();
    watcher.addObserver(&pipeline);
    watcher.startWatch();
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&watcher, &pipeline] {
        watcher.stopWatch();
        watcher.removeObserver(&pipeline);
    });
    return app.exec();
}
