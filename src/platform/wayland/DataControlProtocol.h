#pragma once

#include <QList>
#include <QStringList>

struct wl_interface;

// One data-control protocol, as a table of its interfaces. wlroots' zwlr_data_control_v1 and its
// standardised successor ext_data_control_v1 have the same requests and events in the same order
// and differ only in the names of their interfaces, so the client (DataControlDevice) speaks
// either through such a table. Only wlroots' is built in: no compositor at hand offers the other
// to test against; it would be a second entry of known().
struct DataControlProtocol
{
    const wl_interface* manager;
    const wl_interface* device;
    const wl_interface* source;
    const wl_interface* offer;

    // The name of its manager global, as the compositor lists it.
    const char* managerName() const;

    // The protocols this client speaks, the preferred first.
    static const QList<DataControlProtocol>& known();
    // The first known protocol among the compositor's globals; nullptr when it offers none.
    static const DataControlProtocol* offeredBy(const QStringList& globals);
};
