#include "CtlOptions.h"

#include "support/ChannelMessages.h"

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
    {QLatin1String("search"), CtlOptions::Command::Search, 1},
    {QLatin1String("list"), CtlOptions::Command::List, 0},
    {QLatin1String("copy"), CtlOptions::Command::Copy, 1},
    {QLatin1String("watch"), CtlOptions::Command::Watch, 0},
};

// At most an hour: a longer wait is a mistake, and the milliseconds stay within an int.
constexpr int MaximumTimeoutMs = 3600 * 1000;
// More than any history holds.
constexpr int MaximumLimit = 100'000'000;

const QLatin1StringView Kinds[] = {
    ChannelMessages::SearchKinds::text, ChannelMessages::SearchKinds::image,
    ChannelMessages::SearchKinds::url, ChannelMessages::SearchKinds::file,
    ChannelMessages::SearchKinds::marked};

std::optional<int> parseCount(const QString& text, int maximum)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value <= 0 || value > maximum)
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
    if (found->command == CtlOptions::Command::Search) {
        options.text = positional.at(1);
        if (options.text.isEmpty())
            return fail(error, QStringLiteral("'search' needs a text (use 'list' for every item)"));
    }
    return true;
}

bool readNarrowing(const QCommandLineParser& parser, const QCommandLineOption& limit,
                   const QCommandLineOption& kind, CtlOptions& options, QString* error)
{
    if (parser.isSet(limit)) {
        const std::optional<int> value = parseCount(parser.value(limit), MaximumLimit);
        if (!value)
            return fail(
                error,
                QStringLiteral("--limit needs a number of items from 1 to %1").arg(MaximumLimit));
        options.limit = *value;
    }
    if (parser.isSet(kind)) {
        options.kind = parser.value(kind);
        if (std::find(std::begin(Kinds), std::end(Kinds), options.kind) == std::end(Kinds))
            return fail(error, QStringLiteral("--kind is one of text, image, url, file, marked"));
    }
    const bool narrows = options.command == CtlOptions::Command::Search ||
                         options.command == CtlOptions::Command::List;
    if (!narrows && (parser.isSet(limit) || parser.isSet(kind)))
        return fail(error, QStringLiteral("--limit and --kind go with search and list only"));
    return true;
}
} // namespace

std::optional<CtlOptions> CtlOptions::parse(const QStringList& arguments, QString* error)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    const QCommandLineOption timeout(QStringLiteral("timeout"), QString(), QStringLiteral("ms"));
    const QCommandLineOption limit(QStringLiteral("limit"), QString(), QStringLiteral("n"));
    const QCommandLineOption kind(QStringLiteral("kind"), QString(), QStringLiteral("kind"));
    parser.addOptions({help, json, timeout, limit, kind});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    CtlOptions options;
    if (parser.isSet(help))
        return options;
    options.json = parser.isSet(json);
    if (parser.isSet(timeout)) {
        options.timeoutMs = parseCount(parser.value(timeout), MaximumTimeoutMs);
        if (!options.timeoutMs) {
            *error = QStringLiteral("--timeout needs a number of milliseconds from 1 to %1")
                         .arg(MaximumTimeoutMs);
            return std::nullopt;
        }
    }
    if (!readCommand(parser.positionalArguments(), options, error) ||
        !readNarrowing(parser, limit, kind, options, error))
        return std::nullopt;
    return options;
}

QString CtlOptions::helpText()
{
    return QStringLiteral(
               "Usage: vantrelctl [--json] [--timeout MS] [--limit N] [--kind KIND] COMMAND\n"
               "Talks to the running Vantrel clipboard history over its message channel.\n"
               "\n"
               "Commands:\n"
               "  status      succeed when Vantrel answers\n"
               "  recent      list the 20 most recent items, newest first\n"
               "  marked      list the marked items\n"
               "  search TEXT list the items holding TEXT, newest first, as the window's\n"
               "              search finds them (% and _ stand for any text and any one\n"
               "              character)\n"
               "  list        list every item, newest first\n"
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
               "  --limit N     search and list print at most N items (default %2)\n"
               "  --kind KIND   search and list only items of KIND: text, image, url, file,\n"
               "                or marked\n"
               "  -h, --help    show this help\n"
               "\n"
               "Example: vantrelctl copy \"$(vantrelctl list --limit 1000 | fzf | cut -f1)\"\n"
               "\n"
               "Exit status: 0 on success, 1 when Vantrel does not answer or cannot copy the\n"
               "item (it says why: no such item, ...), 2 on bad usage.\n")
        .arg(DefaultTimeoutMs)
        .arg(DefaultLimit);
}
