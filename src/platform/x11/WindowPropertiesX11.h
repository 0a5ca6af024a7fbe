#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

struct xcb_connection_t;

// The properties of X11 windows, read over one connection. A window that has gone, or lacks the
// property, reads as having an empty one. Each read is one short round trip; none waits on
// another client.
class WindowPropertiesX11
{
public:
    // The connection is not owned; it must outlive this object.
    explicit WindowPropertiesX11(xcb_connection_t* connection);

    uint32_t atom(const char* name) const;
    // The property's bytes when it has this type.
    QByteArray property(uint32_t window, uint32_t atom, uint32_t type) const;
    // A property naming one window, or XCB_WINDOW_NONE.
    uint32_t windowProperty(uint32_t window, uint32_t atom) const;
    // A property holding 32-bit values (windows, a pid), every one of them.
    QList<uint32_t> cardinals(uint32_t window, uint32_t atom, uint32_t type) const;

    // WM_CLASS: the instance name and the class.
    struct WindowClass
    {
        QString instance;
        QString windowClass;
        bool isEmpty() const { return instance.isEmpty() && windowClass.isEmpty(); }
    };
    WindowClass windowClass(uint32_t window) const;

private:
    xcb_connection_t* m_connection;
};
