#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <QString>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

class DataControlDevice;
struct DataControlProtocol;
struct wl_proxy;

// Puts content on the Wayland clipboard through a data-control connection of its own, with no
// window and no keyboard focus, and serves it on a thread of its own to every client that pastes
// it, until another client takes the clipboard. The content lives as long as this object: the
// compositor keeps no copy.
//
// Each source also offers `ownType`, by which this process's reader knows its own writes.
class ClipboardWriterWayland
{
public:
    // How long a client pasting may go without taking any bytes before it is given up.
    static constexpr int stallLimitMs = 5000;

    using Formats = QList<std::pair<QString, QByteArray>>;

    ClipboardWriterWayland(const DataControlProtocol& protocol, QByteArray ownType);
    ~ClipboardWriterWayland();

    // Connects and starts the thread; false, with `problem` saying why, when the compositor cannot
    // be reached or offers no data-control.
    bool start(QString* problem);

    // Takes the clipboard with these formats, in this order: each write is a selection of its
    // own, even when several come before the thread has set the first, as the clipboard's
    // watcher counts this process's own changes by its writes. May be called from any thread;
    // false when there is no connection.
    bool write(Formats formats);

private:
    // One paste under way: the bytes still to go into a client's pipe.
    struct Transfer
    {
        int fd;
        QByteArray bytes;
        qsizetype written;
        QDeadlineTimer deadline;
    };

    void run();
    void takeSelection();
    void serve(wl_proxy* source, const QByteArray& type, int fd);
    void cancel(wl_proxy* source);
    bool advance(Transfer& transfer);

    const DataControlProtocol& m_protocol;
    QByteArray m_ownType;
    std::unique_ptr<DataControlDevice> m_device;
    int m_wakeFd = -1;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;

    std::mutex m_mutex;
    std::deque<Formats> m_pending; // guarded by m_mutex

    // Touched by the writer's thread only.
    QHash<wl_proxy*, Formats> m_sources;
    std::vector<Transfer> m_transfers;
};
