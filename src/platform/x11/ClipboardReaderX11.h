#pragma once

#include "platform/PasteboardItem.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QList>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <xcb/xcb.h>

// Reads every change of the X11 CLIPBOARD selection on a thread of its own, over a connection of
// its own, so that no owner can hold up the caller: the server announces each new owner (XFixes),
// and the reader asks that owner for its TARGETS and then for each format the mapping wants.
//
// All reads of one change share one deadline; a format that has not arrived by then is left out.
// A large format sent in pieces (INCR) may take longer as long as it keeps coming: each piece
// moves the deadline to a full period after it. A change overtaken by a newer one before its
// reading is done gives no items, and the newer one is read at once: what an owner replaced
// before it could be read is gone for every reader. Each change is delivered, in order, once.
class SelectionOwnerX11;

class ClipboardReaderX11
{
public:
    static constexpr int defaultDeadlineMs = 1000;

    // Called on the reader's thread with the items of each change, in the order of the changes.
    using Delivery = std::function<void(QList<PasteboardItem> items)>;

    explicit ClipboardReaderX11(Delivery delivery, int deadlineMs = defaultDeadlineMs);
    // Stops the thread without waiting for any owner.
    ~ClipboardReaderX11();

    // Connects to the display named by DISPLAY and starts the thread; false (and logged) when
    // there is no display or it cannot report selection changes.
    bool start();

    // The resource ids of another connection of this process (X11 gives each client a base and
    // a mask): a change whose owner is one of its windows is this process's own write, delivered
    // without being read. Set before start().
    void setOwnClient(uint32_t idBase, uint32_t idMask)
    {
        m_ownIdBase = idBase;
        m_ownIdMask = idMask;
    }

    // The application names (case-folded application ids, window classes and instance names)
    // whose copies are never read: a change whose owner goes by one of them gives no items, and
    // nothing is asked of the owner. Any thread.
    void setIgnoredNames(const QStringList& names);

private:
    struct Change
    {
        uint32_t owner;
        uint32_t timestamp;
    };
    enum class Wait { Event, Timeout, Stop };

    bool connect();
    void run();
    QList<PasteboardItem> read(const Change& change);
    bool ownerIgnored(uint32_t owner);
    std::optional<QByteArray> convert(uint32_t target, uint32_t timestamp,
                                      QDeadlineTimer& deadline);
    std::optional<QByteArray> readIncremental(uint32_t sizeHint, QDeadlineTimer& deadline);
    std::optional<QByteArray> takeProperty(uint32_t* type);
    QList<QByteArray> targetNames(const QByteArray& targets);
    Wait wait(const QDeadlineTimer& deadline);
    void handle(const xcb_generic_event_t* event);
    bool overtaken() const { return !m_changes.empty() || m_stopping.load(); }
    uint32_t atom(const char* name);

    Delivery m_delivery;
    int m_deadlineMs;
    xcb_connection_t* m_connection = nullptr;
    uint32_t m_window = 0;
    uint32_t m_clipboard = 0;
    uint32_t m_targets = 0;
    uint32_t m_incr = 0;
    uint32_t m_property = 0;
    uint8_t m_xfixesFirstEvent = 0;
    uint32_t m_ownIdBase = 0;
    uint32_t m_ownIdMask = 0;
    int m_wakeFd = -1;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;

    std::mutex m_ignoredMutex;
    QStringList m_ignoredNames;

    // Touched by the reader's thread only.
    std::unique_ptr<SelectionOwnerX11> m_owners;
    std::deque<Change> m_changes;
    QHash<uint32_t, QByteArray> m_atomNames;
    // The answer to the conversion under way: its target and time, and what came back.
    uint32_t m_awaitedTarget = 0;
    uint32_t m_awaitedTime = 0;
    std::optional<uint32_t> m_answeredProperty;
    bool m_newValue = false;
};
