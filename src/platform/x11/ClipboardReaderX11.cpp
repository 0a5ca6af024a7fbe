#include "platform/x11/ClipboardReaderX11.h"

#include "platform/MimeTypeMapping.h"
#include "platform/x11/SelectionOwnerX11.h"
#include "platform/x11/X11ClipboardFormats.h"
#include "platform/x11/XcbReply.h"
#include "support/Logging.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {
// Every property is read whole in one request: the length is counted in 32-bit units.
constexpr uint32_t wholeProperty = 0x1fffffff;
// What an owner's announced size may make the reader set aside before the bytes come.
constexpr uint32_t largestReservation = 256u << 20;
} // namespace

ClipboardReaderX11::ClipboardReaderX11(Delivery delivery, int deadlineMs)
    : m_delivery(std::move(delivery)), m_deadlineMs(deadlineMs)
{}

ClipboardReaderX11::~ClipboardReaderX11()
{
    m_stopping.store(true);
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
        m_thread.join();
    }
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool ClipboardReaderX11::start()
{
    if (!connect()) {
        qCWarning(lcPlatform, "cannot watch the X11 clipboard: no display, or no XFixes on it");
        return false;
    }
    m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wakeFd < 0)
        return false;
    m_thread = std::thread([this] { run(); });
    return true;
}

bool ClipboardReaderX11::connect()
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection))
        return false;
    const xcb_query_extension_reply_t* xfixes =
        xcb_get_extension_data(m_connection, &xcb_xfixes_id);
    if (!xfixes || !xfixes->present)
        return false;
    m_xfixesFirstEvent = xfixes->first_event;
    // Selection notification needs version 2 or later, and the version must be asked for first.
    XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
        m_connection, xcb_xfixes_query_version(m_connection, 5, 0), nullptr));
    if (!version || version->major_version < 2)
        return false;

    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    m_window = xcb_generate_id(m_connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    m_clipboard = atom("CLIPBOARD");
    m_targets = atom("TARGETS");
    m_incr = atom("INCR");
    m_property = atom("VANTREL_SELECTION");
    m_owners = std::make_unique<SelectionOwnerX11>(m_connection, screen->root);
    xcb_xfixes_select_selection_input(m_connection, m_window, m_clipboard,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_flush(m_connection);
    return !xcb_connection_has_error(m_connection);
}

uint32_t ClipboardReaderX11::atom(const char* name)
{
    XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        m_connection,
        xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

void ClipboardReaderX11::run()
{
    while (!m_stopping.load()) {
        if (m_changes.empty()) {
            if (wait(QDeadlineTimer::Forever) == Wait::Stop)
                return;
            continue;
        }
        const Change change = m_changes.front();
        m_changes.pop_front();
        QList<PasteboardItem> items = read(change);
        if (m_stopping.load())
            return;
        m_delivery(std::move(items));
    }
}

QList<PasteboardItem> ClipboardReaderX11::read(const Change& change)
{
    // An owner that has gone leaves an empty clipboard; this process's own write is known.
    if (change.owner == XCB_WINDOW_NONE ||
        (m_ownIdMask != 0 && (change.owner & ~m_ownIdMask) == m_ownIdBase))
        return {};
    if (ownerIgnored(change.owner)) {
        qCDebug(lcPlatform, "a copy of an ignored application is left unread");
        return {};
    }
    QDeadlineTimer deadline(m_deadlineMs);
    const std::optional<QByteArray> list = convert(m_targets, change.timestamp, deadline);
    if (!list)
        return {};
    const QList<QByteArray> targets = targetNames(*list);
    const QStringList formats = X11ClipboardFormats::formatsForTargets(targets);
    qCDebug(lcPlatform) << "clipboard formats:" << formats;
    QList<PasteboardItem> items = MimeTypeMapping::itemsFromFormats(
        formats, [&](const QString& format) -> std::optional<QByteArray> {
            const QByteArray target = X11ClipboardFormats::targetForFormat(format, targets);
            if (target.isEmpty())
                return std::nullopt;
            const uint32_t targetAtom = m_atomNames.key(target);
            std::optional<QByteArray> bytes = convert(targetAtom, change.timestamp, deadline);
            if (!bytes)
                return std::nullopt;
            return X11ClipboardFormats::decode(format, target, std::move(*bytes));
        });
    // Part of a change is not that change.
    return overtaken() ? QList<PasteboardItem>() : items;
}

void ClipboardReaderX11::setIgnoredNames(const QStringList& names)
{
    const std::lock_guard lock(m_ignoredMutex);
    m_ignoredNames = names;
}

bool ClipboardReaderX11::ownerIgnored(uint32_t owner)
{
    QStringList ignored;
    {
        const std::lock_guard lock(m_ignoredMutex);
        ignored = m_ignoredNames;
    }
    if (ignored.isEmpty())
        return false;
    const QStringList names = m_owners->applicationNames(owner);
    return std::any_of(names.cbegin(), names.cend(),
                       [&ignored](const QString& name) { return ignored.contains(name); });
}

// The names of the atoms of a TARGETS answer, asked for together; names once learned are kept,
// since an atom never changes its name.
QList<QByteArray> ClipboardReaderX11::targetNames(const QByteArray& targets)
{
    QList<uint32_t> atoms(targets.size() / sizeof(uint32_t));
    std::memcpy(atoms.data(), targets.constData(), atoms.size() * sizeof(uint32_t));
    QList<std::pair<uint32_t, xcb_get_atom_name_cookie_t>> asked;
    for (uint32_t a : std::as_const(atoms)) {
        if (a != XCB_ATOM_NONE && !m_atomNames.contains(a))
            asked.append({a, xcb_get_atom_name(m_connection, a)});
    }
    for (const auto& [a, cookie] : std::as_const(asked)) {
        XcbReply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(m_connection, cookie, nullptr));
        if (reply)
            m_atomNames.insert(a, QByteArray(xcb_get_atom_name_name(reply.get()),
                                             xcb_get_atom_name_name_length(reply.get())));
    }
    QList<QByteArray> names;
    for (uint32_t a : std::as_const(atoms)) {
        if (m_atomNames.contains(a))
            names.append(m_atomNames.value(a));
    }
    return names;
}

std::optional<QByteArray> ClipboardReaderX11::convert(uint32_t target, uint32_t timestamp,
                                                      QDeadlineTimer& deadline)
{
    if (overtaken())
        return std::nullopt;
    xcb_delete_property(m_connection, m_window, m_property);
    m_awaitedTarget = target;
    m_awaitedTime = timestamp;
    m_answeredProperty.reset();
    xcb_convert_selection(m_connection, m_window, m_clipboard, target, m_property, timestamp);
    while (!m_answeredProperty) {
        if (overtaken() || wait(deadline) != Wait::Event)
            return std::nullopt;
    }
    if (*m_answeredProperty == XCB_ATOM_NONE)
        return std::nullopt;
    uint32_t type = XCB_ATOM_NONE;
    std::optional<QByteArray> bytes = takeProperty(&type);
    if (!bytes || type != m_incr)
        return bytes;
    uint32_t sizeHint = 0;
    if (bytes->size() >= qsizetype(sizeof sizeHint))
        std::memcpy(&sizeHint, bytes->constData(), sizeof sizeHint);
    return readIncremental(sizeHint, deadline);
}

// Taking the INCR property away asked for the first piece; each piece taken asks for the next,
// until an empty one ends the transfer.
std::optional<QByteArray> ClipboardReaderX11::readIncremental(uint32_t sizeHint,
                                                              QDeadlineTimer& deadline)
{
    QByteArray whole;
    whole.reserve(std::min(sizeHint, largestReservation));
    for (;;) {
        m_newValue = false;
        while (!m_newValue) {
            if (overtaken() || wait(deadline) != Wait::Event) {
                xcb_delete_property(m_connection, m_window, m_property);
                return std::nullopt;
            }
        }
        std::optional<QByteArray> piece = takeProperty(nullptr);
        if (!piece)
            return std::nullopt;
        if (piece->isEmpty())
            return whole;
        whole.append(*piece);
        deadline = std::max(deadline, QDeadlineTimer(m_deadlineMs));
    }
}

// Reads the property the owner answered into and deletes it, which an owner sending in pieces
// takes as the request for the next one.
std::optional<QByteArray> ClipboardReaderX11::takeProperty(uint32_t* type)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 1, m_window, m_property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, wholeProperty),
                               nullptr));
    if (!reply)
        return std::nullopt;
    if (type)
        *type = reply->type;
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

ClipboardReaderX11::Wait ClipboardReaderX11::wait(const QDeadlineTimer& deadline)
{
    xcb_flush(m_connection);
    for (;;) {
        if (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            handle(event);
            std::free(event);
            // Every event queued is handled before anything is decided on them.
            while ((event = xcb_poll_for_queued_event(m_connection))) {
                handle(event);
                std::free(event);
            }
            return Wait::Event;
        }
        if (m_stopping.load() || xcb_connection_has_error(m_connection))
            return Wait::Stop;
        if (deadline.hasExpired())
            return Wait::Timeout;
        pollfd fds[] = {{xcb_get_file_descriptor(m_connection), POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const qint64 remaining = deadline.remainingTime();
        ::poll(fds, 2, remaining < 0 ? -1 : int(std::min<qint64>(remaining, INT_MAX)));
    }
}

void ClipboardReaderX11::handle(const xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7f;
    if (type == m_xfixesFirstEvent + XCB_XFIXES_SELECTION_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
        if (notify->selection == m_clipboard)
            m_changes.push_back({notify->owner, notify->selection_timestamp});
    } else if (type == XCB_SELECTION_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event);
        // An answer that comes after its request was given up belongs to no one.
        if (notify->requestor == m_window && notify->target == m_awaitedTarget &&
            notify->time == m_awaitedTime)
            m_answeredProperty = notify->property;
    } else if (type == XCB_PROPERTY_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->window == m_window && notify->atom == m_property &&
            notify->state == XCB_PROPERTY_NEW_VALUE)
            m_newValue = true;
    }
}
