#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <qwindowdefs.h>

// The log lines the program under test has written, kept from the moment install() is called;
// tests wait on them for what the program did.
class LogRecorder
{
public:
    static void install() { previous() = qInstallMessageHandler(record); }
    static QStringList& messages()
    {
        static QStringList lines;
        return lines;
    }

    // The last change count the watcher logged as seen ("pasteboard.changeCount: N"), or -1.
    static qint64 lastCountSeen()
    {
        static const QRegularExpression line(QStringLiteral("^pasteboard\\.changeCount: (\\d+)$"));
        const QStringList& lines = messages();
        for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
            const auto match = line.match(*it);
            if (match.hasMatch())
                return match.captured(1).toLongLong();
        }
        return -1;
    }

private:
    static QtMessageHandler& previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        messages().append(message);
        previous()(type, context, message);
    }
};

// Asks the window manager to activate a window, as a click on it would.
inline bool activateWindow(WId window)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"),
                                              QStringLiteral("--sync"), QString::number(window)});
    return QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 20'000) &&
           xdotool.exitCode() == 0;
}
