#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One running instance per user. The process that holds the lock file in a private folder is
// the running instance and serves a local socket beside it; a later start hands its request (a
// short word) to it and waits for the answer "ok". The lock is an flock(), released by the
// kernel when its holder ends however it ends, so a crashed instance never blocks the next one
// and two processes starting together cannot both become the running instance.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        Primary,   // this process holds the lock: it is the running instance
        Delivered, // the running instance took the request
        Failed     // no private folder, or the running instance did not answer in time
    };

    // $XDG_RUNTIME_DIR/vantrel, or Qt's private runtime folder when the variable is not set.
    static QString defaultFolder();

    explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the running instance, or else hands the request to the one running, retrying until
    // timeoutMs have passed (that one may still be starting, or just ending). Blocks: it runs
    // before the process has an event loop. Creates the folder with mode 0700 and refuses one
    // that is not this user's alone. Needs no QCoreApplication.
    Claim claim(const QByteArray& request, int timeoutMs);

    // Starts serving requests; for the running instance, once the application object exists.
    bool listen();

signals:
    // A later start's request, on the main thread; it has already been answered.
    void requestReceived(const QByteArray& request);

private:
    bool ensurePrivateFolder() const;
    bool tryLock();
    bool deliver(const QByteArray& request, int timeoutMs) const;
    void onNewConnection();
    void readRequest(QLocalSocket* socket);

    QString m_folder;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
};
