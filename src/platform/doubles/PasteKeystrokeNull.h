#pragma once

#include "platform/PasteKeystroke.h"

#include <QCoreApplication>

// A session where no application may type into another (GNOME or KDE on Wayland, no display):
// choosing an item only copies it.
class PasteKeystrokeNull : public PasteKeystroke
{
    Q_DECLARE_TR_FUNCTIONS(PasteKeystrokeNull)

public:
    bool available() const override { return false; }
    QString unavailableReason() const override
    {
        return tr("This desktop lets no application type into another, so Vantrel only copies "
                  "the item: paste it with Ctrl+V.");
    }
    bool needsTargetWindow() const override { return false; }
    bool send(Keys) override { return false; }
};
