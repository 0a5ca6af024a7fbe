#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <optional>

// vantrelctl's output. Plain output is one item per line, its fields separated by tabs: uuid,
// date (ISO 8601 in local time with its UTC offset), app, desc; tabs and line breaks inside a
// field are shown as spaces, so every line splits cleanly for fzf, rofi, cut or awk. JSON output
// is the message's payload in compact form on one line ("null" when it could not be read).
class CtlFormatter
{
public:
    // The fields of one summary as one line, without the line end.
    static QString summaryLine(const QJsonObject& summary);
    // One line per summary of a list (non-object elements are skipped), or the line of one
    // summary; empty for anything else.
    static QString summaryLines(const QJsonValue& payload, const QString& prefix = QString());
    static QString jsonLine(const std::optional<QJsonValue>& payload);
    // What watch prints for an announcement: plain, the identifier, or for "insert", "delete"
    // and "mark" one "identifier<TAB>fields" line per summary; as JSON, one line
    // {"identifier":…,"message":…}.
    static QString watchLines(const QString& identifier, const std::optional<QJsonValue>& payload,
                              bool json);
    // Whether watch shows the summaries of the identifier's messages.
    static bool carriesSummaries(const QString& identifier);

    // Seconds since 1970 as local ISO 8601 with offset; empty when not a plausible time.
    static QString dateText(const QJsonValue& seconds);
    // The text on one line: tabs, line breaks and other control characters become spaces.
    static QString fieldText(const QString& text);
};
