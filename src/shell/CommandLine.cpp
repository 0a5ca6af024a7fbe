#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <array>
#include <utility>

namespace {
constexpr int usageError = 2;

struct RequestOption
{
    ShellRequest request;
    const char* name;
    const char* description;
};

constexpr std::array<RequestOption, 5> requestOptions = {{
    {ShellRequest::ShowMain, "show-main", "Bring up the main window."},
    {ShellRequest::ShowMini, "show-mini", "Bring up the mini window."},
    {ShellRequest::Preferences, "preferences", "Open the preferences."},
    {ShellRequest::ToggleRecording, "toggle-recording", "Pause recording, or resume it."},
    {ShellRequest::Quit, "quit", "Quit the running Vantrel."},
}};

QString usage()
{
    QString text = QStringLiteral(
        "Usage: vantrel [option]\n"
        "Clipboard history. Without an option, starts Vantrel or brings up the running one's\n"
        "window; with one, the running Vantrel (started first where needed) does it.\n\n"
        "Options:\n");
    for (const RequestOption& option : requestOptions)
        text += QStringLiteral("  --%1  %2\n")
                    .arg(QLatin1String(option.name), -18)
                    .arg(QLatin1String(option.description));
    text += QStringLiteral("  -h, --help          Show this help.\n"
                           "  -v, --version       Show the version.\n");
    return text;
}
} // namespace

CommandLine::CommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    parser.addOptions({help, version});
    for (const RequestOption& option : requestOptions)
        parser.addOption(QCommandLineOption(QLatin1String(option.name), {}));

    ShellRequest request = ShellRequest::Reopen;
    int requests = 0;
    const bool parsed = parser.parse(arguments);
    for (const RequestOption& option : requestOptions) {
        if (parser.isSet(QLatin1String(option.name))) {
            request = option.request;
            ++requests;
        }
    }
    if (!parsed || requests > 1 || !parser.positionalArguments().isEmpty()) {
        const QString error = parsed ? QStringLiteral("give at most one option, and no other "
                                                      "arguments")
                                     : parser.errorText();
        m_message = QStringLiteral("vantrel: %1\n\n").arg(error) + usage();
        m_exitCode = usageError;
    } else if (parser.isSet(help)) {
        m_message = usage();
    } else if (parser.isSet(version)) {
        m_message = QStringLiteral("vantrel %1\n").arg(QCoreApplication::applicationVersion());
    } else {
        m_request = request;
    }
}

QByteArray CommandLine::nameOf(ShellRequest request)
{
    for (const RequestOption& option : requestOptions) {
        if (option.request == request)
            return option.name;
    }
    return "reopen";
}

std::optional<ShellRequest> CommandLine::requestNamed(const QByteArray& name)
{
    if (name == nameOf(ShellRequest::Reopen))
        return ShellRequest::Reopen;
    for (const RequestOption& option : requestOptions) {
        if (name == option.name)
            return option.request;
    }
    return std::nullopt;
}
