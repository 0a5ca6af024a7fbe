#include "shell/PasteToApplication.h"

#include "platform/ApplicationState.h"
#include "platform/PasteKeystroke.h"
#include "platform/Workspace.h"
#include "storage/SettingsModel.h"
#include "support/Logging.h"

#include <QGuiApplication>
#include <QWindow>

PasteToApplication::PasteToApplication(const Services& services, QObject* parent)
    : QObject(parent), m_services(services)
{
    if (!m_services.isOwnWindow)
        m_services.isOwnWindow = &PasteToApplication::isTopLevelQtWindow;
    m_timer.setInterval(lookIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PasteToApplication::look);
}

void PasteToApplication::rememberActiveWindow()
{
    const DesktopWindow active = m_services.workspace.activeWindow();
    if (!m_services.isOwnWindow(active))
        m_remembered = active;
}

bool PasteToApplication::pastesFrom(Origin origin) const
{
    const bool chosen = origin == Origin::MiniWindow ? m_services.settings.pasteFromMiniWindow()
                                                     : m_services.settings.pasteFromMainWindow();
    return chosen && m_services.keystroke.available();
}

void PasteToApplication::paste()
{
    m_timer.stop();
    m_target = m_remembered;
    if (m_services.keystroke.needsTargetWindow()) {
        if (!m_target.isValid()) {
            qCInfo(lcShell, "nothing to paste into: no window was active before Vantrel's");
            finish(false);
            return;
        }
        if (!m_services.workspace.activateWindow(m_target)) {
            qCInfo(lcShell, "nothing pasted: the window Vantrel was called from has gone");
            finish(false);
            return;
        }
    }
    m_waiting.start();
    m_timer.start();
    look();
}

void PasteToApplication::look()
{
    if (!m_timer.isActive())
        return;
    if (targetReady()) {
        const bool terminal =
            m_target.isValid() &&
            m_services.settings.isTerminal(m_services.workspace.applicationId(m_target));
        using Keys = PasteKeystroke::Keys;
        finish(m_services.keystroke.send(terminal ? Keys::CtrlShiftV : Keys::CtrlV));
        return;
    }
    if (m_waiting.hasExpired(giveUpMs)) {
        qCInfo(lcShell, "nothing pasted: the window did not become active within %d ms", giveUpMs);
        finish(false);
    }
}

// A keystroke typed while the user still holds Shift (after Shift+Enter) would reach the
// application as another one, and one typed before the window is active would go elsewhere.
bool PasteToApplication::targetReady() const
{
    if (m_services.keystroke.modifiersHeld())
        return false;
    if (m_services.keystroke.needsTargetWindow())
        return m_services.workspace.activeWindow() == m_target;
    return m_waiting.hasExpired(focusSettleMs);
}

void PasteToApplication::finish(bool pasted)
{
    m_timer.stop();
    emit finished(pasted);
}

bool PasteToApplication::isTopLevelQtWindow(DesktopWindow window)
{
    if (!window.isValid())
        return false;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.cbegin(), windows.cend(), [window](const QWindow* own) {
        return own->handle() && quint64(own->winId()) == window.id;
    });
}
