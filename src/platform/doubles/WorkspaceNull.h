#pragma once

#include "platform/Workspace.h"

// A desktop that tells nothing about its windows (Wayland, or no display).
class WorkspaceNull : public Workspace
{
public:
    QString activeApplicationId() const override { return QStringLiteral(""); }
};
