#include "platform/doubles/GlobalShortcutsNull.h"

#include "support/Logging.h"

#include <QKeySequence>

bool GlobalShortcutsNull::registerShortcut(const QString& id, const QKeySequence& sequence)
{
    m_refused.remove(id);
    if (sequence.isEmpty())
        return false;
    m_refused.insert(id);
    qCInfo(lcPlatform).noquote()
        << QStringLiteral("global shortcut %1 (%2) is not available in this session; bind "
                          "`vantrel --show-main` or `--show-mini` in the desktop's shortcut "
                          "settings instead")
               .arg(sequence.toString(QKeySequence::PortableText), id);
    return false;
}

GlobalShortcuts::Refusal GlobalShortcutsNull::refusal(const QString& id) const
{
    return m_refused.contains(id) ? Refusal::Unavailable : Refusal::None;
}
