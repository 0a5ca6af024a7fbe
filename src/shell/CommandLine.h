#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// What a start of `vantrel` asks of the running instance.
enum class ShellRequest { Reopen, ShowMain, ShowMini, Preferences, ToggleRecording, Quit };

// The command line: `vantrel [--show-main | --show-mini | --preferences | --toggle-recording |
// --quit]`, `--help`, `--version`. The request travels to the running instance as its option's
// name ("reopen" for none).
class CommandLine
{
public:
    // Parses the arguments (the program name first). Needs no QCoreApplication.
    explicit CommandLine(const QStringList& arguments);

    // The request, when the arguments name one (or none: a re-open).
    std::optional<ShellRequest> request() const { return m_request; }
    // What to print when there is no request (help, version or a usage error) and the exit code.
    const QString& message() const { return m_message; }
    int exitCode() const { return m_exitCode; }

    static QByteArray nameOf(ShellRequest request);
    static std::optional<ShellRequest> requestNamed(const QByteArray& name);

private:
    std::optional<ShellRequest> m_request;
    QString m_message;
    int m_exitCode = 0;
};
