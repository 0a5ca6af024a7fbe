#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What one vantrelctl run is asked to do, from its command line:
//   vantrelctl [--json] [--timeout MS] [--limit N] [--kind KIND]
//              status | recent | marked | search TEXT | list | copy UUID | watch
class CtlOptions
{
public:
    enum class Command { Help, Status, Recent, Marked, Search, List, Copy, Watch };

    static constexpr int DefaultTimeoutMs = 2000;
    static constexpr int DefaultLimit = 20;

    Command command = Command::Help;
    // The item to copy.
    QString uuid;
    // What to search for.
    QString text;
    // How many items search and list print at most, and the kind they are narrowed to ("" for
    // every kind).
    int limit = DefaultLimit;
    QString kind;
    bool json = false;
    // How long to wait for the application's answer; for watch, how long to watch (until
    // interrupted when not given).
    std::optional<int> timeoutMs;

    int answerTimeoutMs() const { return timeoutMs.value_or(DefaultTimeoutMs); }

    // The options of the arguments (the first is the program); nullopt with error set on bad
    // usage.
    static std::optional<CtlOptions> parse(const QStringList& arguments, QString* error);
    static QString helpText();
};
