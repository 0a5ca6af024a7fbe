#pragma once

#include "platform/PasteKeystroke.h"

#include <QList>

// Keeps the keystrokes it is asked to send, for tests; it can be made to say that modifiers are
// held, or that it types nowhere.
class PasteKeystrokeMemory : public PasteKeystroke
{
public:
    bool available() const override { return m_available; }
    bool needsTargetWindow() const override { return m_needsTargetWindow; }
    bool modifiersHeld() const override { return m_modifiersHeld; }
    bool send(Keys keys) override
    {
        if (!m_available)
            return false;
        m_sent.append(keys);
        return true;
    }

    const QList<Keys>& sent() const { return m_sent; }
    void setAvailable(bool available) { m_available = available; }
    void setNeedsTargetWindow(bool needs) { m_needsTargetWindow = needs; }
    void setModifiersHeld(bool held) { m_modifiersHeld = held; }

private:
    QList<Keys> m_sent;
    bool m_available = true;
    bool m_needsTargetWindow = true;
    bool m_modifiersHeld = false;
};
