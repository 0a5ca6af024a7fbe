#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <span>

struct DataControlProtocol;
struct pollfd;
struct wl_display;
struct wl_proxy;
struct wl_registry;

// A connection of its own to the compositor, with a data-control device on its first seat: the
// selection as it changes, an offer's bytes read into a pipe, and the selection owned through a
// source. Nothing here needs a window or the keyboard focus. One thread at a time uses it.
class DataControlDevice
{
public:
    // A new selection: its offer (nullptr when the clipboard is empty) and the offer's MIME types
    // in the owner's order. The offer is then the handler's, to give back to destroyOffer().
    using SelectionHandler = std::function<void(wl_proxy* offer, const QList<QByteArray>& types)>;
    // Another client reads a source of ours: the bytes of `type` are to be written to `fd`, which
    // is then the handler's to close.
    using SendHandler = std::function<void(wl_proxy* source, const QByteArray& type, int fd)>;
    // A source of ours no longer holds the selection; it is the handler's to destroy.
    using CancelHandler = std::function<void(wl_proxy* source)>;

    // Connects to the compositor named by WAYLAND_DISPLAY; nullptr, with `problem` saying why, when
    // it cannot be reached or offers no seat or not this protocol.
    static std::unique_ptr<DataControlDevice> open(const DataControlProtocol& protocol,
                                                   QString* problem);
    ~DataControlDevice();

    void setSelectionHandler(SelectionHandler handler) { m_selectionHandler = std::move(handler); }
    void setSourceHandlers(SendHandler send, CancelHandler cancel);

    // Sends what is queued and waits until the compositor has answered it, running the handlers
    // of the events before the answer: after the first one, the selection as it is now has been
    // announced. False once the connection is lost.
    bool roundtrip();
    // Waits until the compositor sends something, one of `others` is ready or `timeoutMs` has
    // passed (-1: no limit), and runs the handlers of whatever events came. False once the
    // connection is lost.
    bool wait(std::span<pollfd> others, int timeoutMs);

    // Asks the offer's owner to write the bytes of `type` into `fd` (kept open by the caller).
    void receive(wl_proxy* offer, const QByteArray& type, int fd);
    void destroyOffer(wl_proxy* offer);
    // Takes the selection with a source offering these types; nullptr when the connection is lost.
    wl_proxy* setSelection(const QList<QByteArray>& types);
    void destroySource(wl_proxy* source);

private:
    DataControlDevice(const DataControlProtocol& protocol, wl_display* display);
    bool bind(QString* problem);

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);
    static void dataOffer(void* data, wl_proxy* device, wl_proxy* offer);
    static void selection(void* data, wl_proxy* device, wl_proxy* offer);
    static void finished(void* data, wl_proxy* device);
    static void primarySelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void offerType(void* data, wl_proxy* offer, const char* type);
    static void send(void* data, wl_proxy* source, const char* type, int32_t fd);
    static void cancelled(void* data, wl_proxy* source);

    const DataControlProtocol& m_protocol;
    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    wl_proxy* m_seat = nullptr;
    wl_proxy* m_manager = nullptr;
    wl_proxy* m_device = nullptr;
    bool m_finished = false;
    // The types of each offer announced and not yet made the selection.
    QHash<wl_proxy*, QList<QByteArray>> m_offerTypes;
    SelectionHandler m_selectionHandler;
    SendHandler m_sendHandler;
    CancelHandler m_cancelHandler;
};
