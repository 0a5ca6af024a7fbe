#include "CtlOptions.h"

#include <QCommandLineParser>

namespace {
struct CommandName
{
    QLatin1String name;
    CtlOptions::Command command;
    qsizetype arguments;
};

constexpr CommandName Commands[] = {
    {QLatin1String("status"), CtlOptions::Command::Status, 0},
    {QLatin1String("recent"), CtlOptions::Command::Recent, 0},
    {QLatin1String("marked"), CtlOptions::Command::Marked, 0},
    {QLatin1String("copy"), CtlOptions::Command::Copy, 1},
    {QLatin1String("watch"), CtlOptions::Command::Watch, 0},
};

// At most an hour: a longer wait is a mistake, and the milliseconds stay within an int.
constexpr int MaximumTimeoutMs = 3600 * 1000;

std::optional<int> parseTimeout(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0 || value > MaximumTimeoutMs)
        return std::nullopt;
    return value;
}

bool fail(QString* error, const QString& message)
{
    *error = message;
    return false;
}

bool readCommand(const QStringList& positional, CtlOptions& options, QString* error)
{
    if (positional.isEmpty())
        return fail(error, QStringLiteral("no command given"));
    const QString& name = positional.first();
    const auto* found = std::find_if(std::begin(Commands), std::end(Commands),
                                     [&](const CommandName& entry) { return entry.name == name; });
    if (found == std::end(Commands))
        return fail(error, QStringLiteral("unknown command '%1'").arg(name));
    if (positional.size() - 1 != found->arguments)
        return fail(error, found->arguments == 0
                               ? QStringLiteral("'%1' takes no argument").arg(name)
                               : QStringLiteral("'%1' takes one argument").arg(name));
    options.command = found->command;
    if (found->command == CtlOptions::Command::Copy) {
        options.uuid = positional.at(1).trimmed();
        if (options.uuid.isEmpty())
            return fail(error, QStringLiteral("'copy' needs a uuid"));
    }
    return true;
}
} // namespace

std::optional<CtlOptions> CtlOptions::parse(const QStringList& arguments, QString* error)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("ms"));
    parser.addOptions({help, json, timeout});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    CtlOptions options;
    if (parser.isSet(help))
        return options;
    options.json = parser.isSet(json);
    if (parser.isSet(timeout)) {
        options.timeoutMs = parseTimeout(parser.value(timeout));
        if (!options.timeoutMs) {
            *error = QStringLiteral("--timeout needs a number of milliseconds from 1 to %1")
                         .arg(MaximumTimeoutMs);
            return std::nullopt;
        }
    }
    if (!readCommand(parser.positionalArguments(), options, error))
        return std::nullopt;
    return options;
}

QString CtlOptions::helpText()
{
    return QStringLiteral(
               "Usage: vantrelctl [--json] [--timeout MS] COMMAND\n"
               "Talks to the running Vantrel clipboard history over its message channel.\n"
               "\n"
               "Commands:\n"
               "  status      succeed when Vantrel answers\n"
               "  recent      list the 20 most recent items, newest first\n"
               "  marked      list the marked items\n"
               "  copy UUID   put the item with this uuid back on the clipboard\n"
               "  watch       print each message as it is announced, until interrupted\n"
               "\n"
               "Items are printed one per line, tab-separated: uuid, date (ISO 8601, local time\n"
               "with its UTC offset), source application, description (line breaks and tabs as\n"
               "spaces). watch prints the message identifier first on each line, followed by\n"
               "the fields of each item for insert, delete and mark.\n"
               "\n"
               "Options:\n"
               "  --json        print the messages' JSON payloads instead, one per line\n"
               "  --timeout MS  wait at most MS milliseconds for an answer (default %1);\n"
               "                for watch, stop after MS milliseconds\n"
               "  -h, --help    show this help\n"
               "\n"
               "Example: vantrelctl copy \"$(vantrelctl recent | fzf | cut -f1)\"\n"
               "\n"
               "Exit status: 0 on success, 1 when Vantrel does not answer or cannot copy the\n"
               "item (it says why: no such item, ...), 2 on bad usage.\n")
        .arg(DefaultTimeoutMs);
}
