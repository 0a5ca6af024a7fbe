#pragma once

#include "platform/GlobalShortcuts.h"

#include <QSet>

// A session without a global key grab (Wayland, no display): nothing can be registered. The
// desktop's own shortcut settings can run `vantrel --show-main` / `--show-mini` instead.
class GlobalShortcutsNull : public GlobalShortcuts
{
    Q_OBJECT

public:
    using GlobalShortcuts::GlobalShortcuts;

    bool registerShortcut(const QString& id, const QKeySequence& sequence) override;
    void unregisterShortcut(const QString& id) override { m_refused.remove(id); }
    Refusal refusal(const QString& id) const override;
    bool isAvailable() const override { return false; }

private:
    QSet<QString> m_refused;
};
