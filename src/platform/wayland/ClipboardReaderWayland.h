#pragma once

#include "platform/PasteboardItem.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QString>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class DataControlDevice;
struct DataControlProtocol;
struct wl_proxy;

// Reads every change of the Wayland clipboard on a thread of its own, over a data-control
// connection of its own, so that no owner can hold up the caller: the compositor announces each
// new selection with its types, and the reader has the owner write each format the mapping wants
// into a pipe.
//
// All reads of one change share one deadline; a format that has not come by then is left out.
// A large format may take longer as long as it keeps coming: each piece moves the deadline to a
// full period after it. A change overtaken by a newer one before its reading is done gives no
// items, and the newer one is read at once. Each change is delivered, in order, once. What is on
// the clipboard when the reader starts is not a change.
class ClipboardReaderWayland
{
public:
    static constexpr int defaultDeadlineMs = 1000;

    // Called on the reader's thread with the items of each change, in the order of the changes.
    using Delivery = std::function<void(QList<PasteboardItem> items)>;

    // `ownType` marks the sources of this process (ClipboardWriterWayland offers it): their
    // changes are delivered without being read.
    ClipboardReaderWayland(const DataControlProtocol& protocol, QByteArray ownType,
                           Delivery delivery, int deadlineMs = defaultDeadlineMs);
    // Stops the thread without waiting for any owner.
    ~ClipboardReaderWayland();

    // Connects and starts the thread; false, with `problem` saying why, when the compositor cannot
    // be reached or offers no data-control.
    bool start(QString* problem);

private:
    struct Change
    {
        wl_proxy* offer;
        QList<QByteArray> types;
    };

    void run();
    QList<PasteboardItem> read(const Change& change);
    std::optional<QByteArray> receive(wl_proxy* offer, const QString& format,
                                      QDeadlineTimer& deadline);
    bool overtaken() const { return !m_changes.empty() || m_stopping.load(); }

    const DataControlProtocol& m_protocol;
    QByteArray m_ownType;
    Delivery m_delivery;
    int m_deadlineMs;
    std::unique_ptr<DataControlDevice> m_device;
    int m_wakeFd = -1;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;

    // Touched by the reader's thread only, once it runs.
    std::deque<Change> m_changes;
};
