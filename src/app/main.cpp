#include "app/Application.h"
#include "platform/PlatformLinux.h"
#include "platform/xdg/SingleInstance.h"
#include "shell/CommandLine.h"
#include "shell/Translations.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>
#include <memory>

namespace {
// A later start waits this long for the running instance to take its request.
constexpr int handOverTimeoutMs = 10'000;

bool hasGraphicalSession()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char** argv)
{
    // A write past the file-size limit then fails with EFBIG, and is handled as a full disk is,
    // instead of ending the program and with it the clipboard it may hold.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication::setApplicationName(QStringLiteral("vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    const CommandLine commandLine(argumentsOf(argc, argv));
    if (!commandLine.request()) {
        std::fputs(qPrintable(commandLine.message()), commandLine.exitCode() ? stderr : stdout);
        return commandLine.exitCode();
    }
    const ShellRequest request = *commandLine.request();

    // Handing a request over needs no display: only becoming the running instance does.
    SingleInstance instance(SingleInstance::defaultFolder());
    switch (instance.claim(CommandLine::nameOf(request), handOverTimeoutMs)) {
    case SingleInstance::Claim::Delivered:
        return 0;
    case SingleInstance::Claim::Failed:
        std::fputs("vantrel: cannot reach the running Vantrel, nor become it (see the log)\n",
                   stderr);
        return 1;
    case SingleInstance::Claim::Primary:
        break;
    }
    if (request == ShellRequest::Quit)
        return 0; // nothing runs, so nothing to quit
    if (!hasGraphicalSession()) {
        std::fputs("vantrel: no graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "to try it without one: xvfb-run -a vantrel\n",
                   stderr);
        return 1;
    }

    // No OpenGL context is asked for at start (not even one to share with the web preview's
    // engine, which draws in software once its plug-in is loaded): a GL driver alone would cost
    // more memory than the rest of the program at idle.
    // On Wayland, the clipboard's path decides Qt's platform.
    PlatformLinux::chooseWaylandPath();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // File rows show their type's icon from the desktop's theme; a bare window manager sets
    // none, and a theme may lack a type: the freedesktop theme most systems carry fills in.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // Dialog titles, the task bar and the desktop's application list name and show Vantrel by
    // these (its windows set their icon when the first is made).
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTREL_APP_ID));
    Translations::install(app);
    const std::unique_ptr<Application> application = Application::forSession();
    instance.listen();
    QObject::connect(&instance, &SingleInstance::requestReceived, application.get(),
                     [&application](const QByteArray& name) {
                         if (const auto received = CommandLine::requestNamed(name))
                             application->handleRequest(*received);
                     });
    // A first start with an option does what the option says; without one, it only starts.
    if (request != ShellRequest::Reopen)
        application->handleRequest(request);
    return app.exec();
}
