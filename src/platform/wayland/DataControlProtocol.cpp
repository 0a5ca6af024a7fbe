#include "platform/wayland/DataControlProtocol.h"

#include <algorithm>
#include <wlr-data-control-unstable-v1-client-protocol.h>

const char* DataControlProtocol::managerName() const
{
    return manager->name;
}

const QList<DataControlProtocol>& DataControlProtocol::known()
{
    static const QList<DataControlProtocol> protocols = {
        {&zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface,
         &zwlr_data_control_source_v1_interface, &zwlr_data_control_offer_v1_interface},
    };
    return protocols;
}

const DataControlProtocol* DataControlProtocol::offeredBy(const QStringList& globals)
{
    const QList<DataControlProtocol>& protocols = known();
    const auto found = std::find_if(protocols.cbegin(), protocols.cend(), [&](const auto& p) {
        return globals.contains(QLatin1String(p.managerName()));
    });
    return found == protocols.cend() ? nullptr : &*found;
}
