#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>
#include <utility>
#include <vector>

// A run of the real `vantrel` binary beside the headless compositor of tests/helpers/sway-session
// or tests/helpers/mutter-session, as that session's user, with wl-copy and wl-paste standing for
// the other applications.
class WaylandSession
{
public:
    // `qtPlatform` is given to vantrel as QT_QPA_PLATFORM; empty lets it choose.
    explicit WaylandSession(const QString& qtPlatform = QStringLiteral("wayland"));
    ~WaylandSession();

    // Why the session has no compositor; empty when it has one.
    static QString unavailableReason();

    QString dataFolder() const; // the user's $XDG_DATA_HOME/vantrel
    QList<QVariantMap> rows() const;
    // The bytes of the row's payload at this position.
    QByteArray payload(const QVariantMap& row, int index) const;

    // Starts vantrel with this PATH (the system's when empty) and waits until it has started
    // watching: through wl-paste when `watchesClipboard`, else only its watcher's start.
    bool start(const QString& path = {}, bool watchesClipboard = true);
    // An environment variable for the next start().
    void setVariable(const QString& name, const QString& value);
    // SIGTERM, then waits for a clean exit.
    bool stop();
    bool isRunning() const;
    qint64 processId() const;
    bool waitForOutput(const QByteArray& text, int times = 1);
    // What vantrel has written to its log so far.
    QString output() const { return QString::fromUtf8(m_output); }
    // How many clipboard changes vantrel has seen ("pasteboard.changeCount" lines).
    int changesSeen() const;

    // Runs a program as the session's user, feeding it `input`; its exit code and output.
    std::pair<int, QByteArray> run(const QString& program, const QStringList& arguments,
                                   const QByteArray& input = {}) const;
    std::pair<int, QByteArray> vantrelctl(const QStringList& arguments) const;
    // Starts a program as the session's user, in the session.
    void startAsUser(QProcess& process, const QString& program, const QStringList& arguments,
                     const QString& path = {}) const;

    // Makes a clipboard owner offering these "type=bytes" formats in this order
    // (tests/helpers/wlclipowner) and waits until it owns the clipboard.
    bool own(const QStringList& formats);
    // Starts a helper as the session's user and waits until it prints "ready"; it runs until the
    // session ends.
    bool startHelper(const QString& program, const QStringList& arguments = {});
    // The processes whose parent is vantrel.
    QList<qint64> vantrelChildren() const;

private:
    QProcessEnvironment environment(const QString& path = {}) const;

    QString m_home;
    QString m_qtPlatform;
    QProcessEnvironment m_variables;
    QStringList m_runAs;
    std::unique_ptr<QProcess> m_vantrel;
    std::vector<std::unique_ptr<QProcess>> m_owners;
    QByteArray m_output;
};
