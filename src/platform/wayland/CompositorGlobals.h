#pragma once

#include <QStringList>
#include <optional>

// The interfaces a Wayland compositor offers, read from a short connection of their own (before
// Qt connects, so that the choice of Qt's platform can depend on them).
class CompositorGlobals
{
public:
    // The interface names of the globals of the compositor named by WAYLAND_DISPLAY; nothing when
    // it cannot be reached.
    static std::optional<QStringList> list();
};
