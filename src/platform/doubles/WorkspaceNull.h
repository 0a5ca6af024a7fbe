#pragma once

#include "platform/Workspace.h"

// A desktop that tells nothing about its windows (Wayland, or no display).
class WorkspaceNull : public Workspace
{
public:
    DesktopWindow activeWindow() const override { return {}; }
    QString applicationId(DesktopWindow) const override { return QStringLiteral(""); }
    bool activateWindow(DesktopWindow) override { return false; }
    QStringList runningApplicationIds() const override { return {}; }
};
