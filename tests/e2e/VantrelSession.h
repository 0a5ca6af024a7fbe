#pragma once

#include "ClipOwner.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>
#include <csignal>
#include <memory>
#include <utility>
#include <vector>

// A run of the real `vantrel` binary with private XDG folders, plus clipboard owners standing
// for other applications (tests/helpers/clipowner), for the end-to-end tests.
class VantrelSession
{
public:
    VantrelSession();
    ~VantrelSession();

    QString dataFolder() const; // $XDG_DATA_HOME/vantrel
    QString dbPath() const { return dataFolder() + QStringLiteral("/db.sqlite3"); }
    void writeConfig(const QByteArray& json) const;
    // $XDG_CONFIG_HOME/vantrel/vantrel.conf, the user defaults.
    QString userDefaultsPath() const;
    // Replaces the user defaults with this INI text.
    void writeUserDefaults(const QByteArray& ini) const;

    // Starts vantrel (with these arguments) and waits until it watches the clipboard. On X11 a
    // tray host runs beside it first, as on most desktops, unless the session is to have none.
    bool start(const QStringList& arguments = {});
    void setTrayHost(bool wanted) { m_trayHostWanted = wanted; }
    // Starts the tray host (trayer) and waits until it shows; true when it runs.
    bool startTrayHost();
    // Sends the signal (SIGTERM by default), then waits for the exit, as waitForExit().
    bool stop(int signalNumber = SIGTERM);
    // Waits for the running vantrel to end; true when it exited by itself with status 0.
    bool waitForExit();
    // Waits until the running vantrel has written the text to its log `times` times in all.
    bool waitForOutput(const QByteArray& text, int times = 1);
    QString output() const { return QString::fromUtf8(m_output); }
    // How many clipboard changes vantrel has seen so far ("pasteboard.changeCount" lines).
    int changesSeen() const;

    // Makes a clipboard owner with these formats ("mime=bytes" or "mime=@file") and waits until
    // it owns the clipboard. Extra arguments go before the formats (--class, --app-id, --map).
    bool copy(const QStringList& formats, const QStringList& options = {});
    // Copies and waits until vantrel has seen that change.
    bool copyAndWaitSeen(const QStringList& formats, const QStringList& options = {});

    // Runs vantrelctl in this session's folders; its exit code and standard output.
    std::pair<int, QByteArray> vantrelctl(const QStringList& arguments,
                                          int timeoutMs = 20'000) const;
    // Runs another vantrel in this session's folders (a later start); its exit code and output.
    std::pair<int, QByteArray> vantrel(const QStringList& arguments, int timeoutMs = 20'000) const;
    // Starts a long-running vantrelctl (for `watch`) in this session's folders.
    std::unique_ptr<QProcess> startVantrelctl(const QStringList& arguments) const;

    // The rows of pb_items, newest first, each column by name.
    QList<QVariantMap> rows() const { return rowsOf(dbPath()); }
    // The same for any history database.
    static QList<QVariantMap> rowsOf(const QString& dbPath);
    // The keyword of each row, newest first.
    QStringList keywords() const;

private:
    void readOutput();
    QProcessEnvironment environment() const;
    static void writeFile(const QString& path, const QByteArray& bytes);
    std::pair<int, QByteArray> run(const QString& binary, const QStringList& arguments,
                                   int timeoutMs) const;

    QTemporaryDir m_home;
    std::unique_ptr<QProcess> m_vantrel;
    bool m_trayHostWanted = true;
    std::unique_ptr<QProcess> m_trayHost;
    std::vector<std::unique_ptr<ClipOwner>> m_owners;
    QByteArray m_output;
};
