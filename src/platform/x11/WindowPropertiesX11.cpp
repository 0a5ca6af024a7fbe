#include "platform/x11/WindowPropertiesX11.h"

#include "platform/x11/XcbReply.h"

#include <cstring>
#include <xcb/xcb.h>

WindowPropertiesX11::WindowPropertiesX11(xcb_connection_t* connection) : m_connection(connection) {}

uint32_t WindowPropertiesX11::atom(const char* name) const
{
    const auto reply =
        replyOrNothing(xcb_intern_atom_reply, m_connection,
                       xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name));
    return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
}

QByteArray WindowPropertiesX11::property(uint32_t window, uint32_t atom, uint32_t type) const
{
    constexpr uint32_t maxLength = 4096;
    const auto reply =
        replyOrNothing(xcb_get_property_reply, m_connection,
                       xcb_get_property(m_connection, 0, window, atom, type, 0, maxLength));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const int length = xcb_get_property_value_length(reply.get());
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())), length);
}

uint32_t WindowPropertiesX11::windowProperty(uint32_t window, uint32_t atom) const
{
    const QList<uint32_t> windows = cardinals(window, atom, XCB_ATOM_WINDOW);
    return windows.isEmpty() ? uint32_t(XCB_WINDOW_NONE) : windows.first();
}

QList<uint32_t> WindowPropertiesX11::cardinals(uint32_t window, uint32_t atom, uint32_t type) const
{
    const QByteArray value = property(window, atom, type);
    QList<uint32_t> values(value.size() / qsizetype(sizeof(uint32_t)));
    std::memcpy(values.data(), value.constData(), size_t(values.size()) * sizeof(uint32_t));
    return values;
}

// WM_CLASS holds two NUL-terminated strings: the instance name, then the class.
WindowPropertiesX11::WindowClass WindowPropertiesX11::windowClass(uint32_t window) const
{
    const QList<QByteArray> parts =
        property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING).split('\0');
    return {parts.size() > 0 ? QString::fromLatin1(parts[0]) : QString(),
            parts.size() > 1 ? QString::fromLatin1(parts[1]) : QString()};
}
