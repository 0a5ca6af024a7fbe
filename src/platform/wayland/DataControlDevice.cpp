#include "platform/wayland/DataControlDevice.h"

#include "platform/wayland/DataControlProtocol.h"

#include <QVarLengthArray>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

namespace {
// The version every interface is bound at: the selection is all that is read or written.
constexpr uint32_t boundVersion = 1;

// The requests of the four interfaces, by their place in each interface's list; the same in
// every protocol of the family.
enum : uint32_t { createDataSource = 0, getDataDevice = 1, destroyManager = 2 };
enum : uint32_t { setSelectionRequest = 0, destroyDevice = 1 };
enum : uint32_t { offerRequest = 0, destroySourceRequest = 1 };
enum : uint32_t { receiveRequest = 0, destroyOfferRequest = 1 };

// The events of each interface in the order the protocol lists them; libwayland calls the
// function at an event's place with the object and the event's arguments.
struct DeviceListener
{
    void (*dataOffer)(void*, wl_proxy*, wl_proxy*);
    void (*selection)(void*, wl_proxy*, wl_proxy*);
    void (*finished)(void*, wl_proxy*);
    void (*primarySelection)(void*, wl_proxy*, wl_proxy*);
};
struct OfferListener
{
    void (*offer)(void*, wl_proxy*, const char*);
};
struct SourceListener
{
    void (*send)(void*, wl_proxy*, const char*, int32_t);
    void (*cancelled)(void*, wl_proxy*);
};

template <typename Listener> void listen(wl_proxy* proxy, const Listener& listener, void* data)
{
    wl_proxy_add_listener(
        proxy, reinterpret_cast<void (**)(void)>(const_cast<Listener*>(&listener)), data);
}

void globalRemove(void*, wl_registry*, uint32_t) {}
} // namespace

std::unique_ptr<DataControlDevice> DataControlDevice::open(const DataControlProtocol& protocol,
                                                           QString* problem)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        *problem = QStringLiteral("cannot connect to the Wayland compositor: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    std::unique_ptr<DataControlDevice> device(new DataControlDevice(protocol, display));
    if (!device->bind(problem))
        return nullptr;
    return device;
}

DataControlDevice::DataControlDevice(const DataControlProtocol& protocol, wl_display* display)
    : m_protocol(protocol), m_display(display)
{}

DataControlDevice::~DataControlDevice()
{
    const QList<wl_proxy*> offers = m_offerTypes.keys();
    for (wl_proxy* offer : offers)
        destroyOffer(offer);
    if (m_device)
        wl_proxy_marshal_flags(m_device, destroyDevice, nullptr, boundVersion,
                               WL_MARSHAL_FLAG_DESTROY);
    if (m_manager)
        wl_proxy_marshal_flags(m_manager, destroyManager, nullptr, boundVersion,
                               WL_MARSHAL_FLAG_DESTROY);
    if (m_seat)
        wl_proxy_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

bool DataControlDevice::bind(QString* problem)
{
    static const wl_registry_listener registryListener = {global, globalRemove};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    if (wl_display_roundtrip(m_display) < 0) {
        *problem = QStringLiteral("the Wayland compositor closed the connection");
        return false;
    }
    if (!m_manager || !m_seat) {
        *problem = m_manager ? QStringLiteral("the Wayland compositor offers no seat")
                             : QStringLiteral("the Wayland compositor does not offer %1")
                                   .arg(QLatin1String(m_protocol.managerName()));
        return false;
    }
    static const DeviceListener deviceListener = {dataOffer, selection, finished, primarySelection};
    m_device = wl_proxy_marshal_flags(m_manager, getDataDevice, m_protocol.device, boundVersion, 0,
                                      nullptr, m_seat);
    listen(m_device, deviceListener, this);
    return true;
}

bool DataControlDevice::roundtrip()
{
    return wl_display_roundtrip(m_display) >= 0 && !m_finished;
}

void DataControlDevice::global(void* data, wl_registry* registry, uint32_t name,
                               const char* interface, uint32_t)
{
    auto* self = static_cast<DataControlDevice*>(data);
    if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        self->m_seat = static_cast<wl_proxy*>(
            wl_registry_bind(registry, name, &wl_seat_interface, boundVersion));
    else if (!self->m_manager && std::strcmp(interface, self->m_protocol.managerName()) == 0)
        self->m_manager = static_cast<wl_proxy*>(
            wl_registry_bind(registry, name, self->m_protocol.manager, boundVersion));
}

void DataControlDevice::setSourceHandlers(SendHandler send, CancelHandler cancel)
{
    m_sendHandler = std::move(send);
    m_cancelHandler = std::move(cancel);
}

bool DataControlDevice::wait(std::span<pollfd> others, int timeoutMs)
{
    while (wl_display_prepare_read(m_display) != 0)
        wl_display_dispatch_pending(m_display);
    // A full socket is flushed on the next turn; only a broken one ends the connection.
    if (wl_display_flush(m_display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(m_display);
        return false;
    }
    QVarLengthArray<pollfd, 4> fds;
    fds.append({wl_display_get_fd(m_display), POLLIN, 0});
    fds.append(others.data(), qsizetype(others.size()));
    const int ready = ::poll(fds.data(), nfds_t(fds.size()), timeoutMs);
    for (qsizetype i = 1; i < fds.size(); ++i)
        others[size_t(i - 1)].revents = fds[i].revents;
    if (ready > 0 && (fds[0].revents & POLLIN)) {
        if (wl_display_read_events(m_display) < 0)
            return false;
    } else {
        wl_display_cancel_read(m_display);
    }
    return wl_display_dispatch_pending(m_display) >= 0 && !m_finished;
}

void DataControlDevice::dataOffer(void* data, wl_proxy*, wl_proxy* offer)
{
    static const OfferListener offerListener = {offerType};
    auto* self = static_cast<DataControlDevice*>(data);
    self->m_offerTypes.insert(offer, {});
    listen(offer, offerListener, self);
}

void DataControlDevice::offerType(void* data, wl_proxy* offer, const char* type)
{
    auto* self = static_cast<DataControlDevice*>(data);
    const auto types = self->m_offerTypes.find(offer);
    if (types != self->m_offerTypes.end() && !types->contains(type))
        types->append(QByteArray(type));
}

void DataControlDevice::selection(void* data, wl_proxy*, wl_proxy* offer)
{
    auto* self = static_cast<DataControlDevice*>(data);
    const QList<QByteArray> types = offer ? self->m_offerTypes.take(offer) : QList<QByteArray>();
    if (self->m_selectionHandler)
        self->m_selectionHandler(offer, types);
    else if (offer)
        self->destroyOffer(offer);
}

// Bound at version 1, the device never announces the primary selection.
void DataControlDevice::primarySelection(void*, wl_proxy*, wl_proxy*) {}

void DataControlDevice::finished(void* data, wl_proxy*)
{
    static_cast<DataControlDevice*>(data)->m_finished = true;
}

void DataControlDevice::receive(wl_proxy* offer, const QByteArray& type, int fd)
{
    wl_proxy_marshal_flags(offer, receiveRequest, nullptr, boundVersion, 0, type.constData(), fd);
    wl_display_flush(m_display);
}

void DataControlDevice::destroyOffer(wl_proxy* offer)
{
    m_offerTypes.remove(offer);
    wl_proxy_marshal_flags(offer, destroyOfferRequest, nullptr, boundVersion,
                           WL_MARSHAL_FLAG_DESTROY);
}

wl_proxy* DataControlDevice::setSelection(const QList<QByteArray>& types)
{
    static const SourceListener sourceListener = {send, cancelled};
    if (m_finished)
        return nullptr;
    wl_proxy* source = wl_proxy_marshal_flags(m_manager, createDataSource, m_protocol.source,
                                              boundVersion, 0, nullptr);
    if (!source)
        return nullptr;
    listen(source, sourceListener, this);
    for (const QByteArray& type : types)
        wl_proxy_marshal_flags(source, offerRequest, nullptr, boundVersion, 0, type.constData());
    wl_proxy_marshal_flags(m_device, setSelectionRequest, nullptr, boundVersion, 0, source);
    wl_display_flush(m_display);
    return source;
}

void DataControlDevice::destroySource(wl_proxy* source)
{
    wl_proxy_marshal_flags(source, destroySourceRequest, nullptr, boundVersion,
                           WL_MARSHAL_FLAG_DESTROY);
}

void DataControlDevice::send(void* data, wl_proxy* source, const char* type, int32_t fd)
{
    auto* self = static_cast<DataControlDevice*>(data);
    if (self->m_sendHandler)
        self->m_sendHandler(source, QByteArray(type), fd);
    else
        ::close(fd);
}

void DataControlDevice::cancelled(void* data, wl_proxy* source)
{
    auto* self = static_cast<DataControlDevice*>(data);
    if (self->m_cancelHandler)
        self->m_cancelHandler(source);
    else
        self->destroySource(source);
}
