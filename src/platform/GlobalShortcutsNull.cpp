#include "platform/GlobalShortcutsNull.h"

#include "support/Logging.h"

#include <QKeySequence>

bool GlobalShortcutsNull::registerShortcut(const QString& id, const QKeySequence& sequence)
{
    if (!sequence.isEmpty())
        qCInfo(lcPlatform).noquote()
            << QStringLiteral("global shortcut %1 (%2) is not available in this session; bind "
                              "`vantrel --show-main` or `--show-mini` in the desktop's shortcut "
                              "settings instead")
                   .arg(sequence.toString(QKeySequence::PortableText), id);
    return false;
}
