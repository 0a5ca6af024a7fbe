#include "browser/WelcomeView.h"

#include "platform/LoginItems.h"
#include "shell/ShortcutBindings.h"
#include "shell/ShortcutCommands.h"
#include "storage/UserDefaults.h"

#include <QPushButton>

WelcomeView::WelcomeView(const ShortcutBindings& shortcuts, LoginItems& loginItems, QWidget* parent)
    : NoticeBar(parent), m_shortcuts(shortcuts), m_loginItems(loginItems)
{
    setObjectName(QStringLiteral("welcomeView"));
    setAccessibleName(tr("Welcome"));
    if (!m_loginItems.isEnabled())
        setActionText(tr("Start at Log-In"));
    connect(this, &NoticeBar::actionTriggered, this, &WelcomeView::startAtLogIn);
    connect(&m_shortcuts, &ShortcutBindings::shortcutChanged, this, &WelcomeView::updateText);
    connect(&m_shortcuts, &ShortcutBindings::availabilityChanged, this, &WelcomeView::updateText);
    updateText();
}

void WelcomeView::updateText()
{
    QString text = tr("Welcome to Vantrel. It records what you copy from now on.") +
                   QLatin1Char(' ') + howToCall();
    if (!m_logInOutcome.isEmpty())
        text += QLatin1Char(' ') + m_logInOutcome;
    setText(text);
}

// The mini window is the quick way in; the main window's shortcut is named only where the mini
// window has none in effect.
QString WelcomeView::howToCall() const
{
    if (!m_shortcuts.isAvailable())
        return tr("To bring it up with a key, bind the command “%1” in your desktop's keyboard "
                  "settings. %2")
            .arg(ShortcutCommands::showMiniCommand(), ShortcutCommands::whereToBind());
    for (const QString key :
         {UserDefaults::miniWindowShortcutKey, UserDefaults::mainWindowShortcutKey}) {
        const QKeySequence sequence = m_shortcuts.shortcut(key);
        if (sequence.isEmpty() || m_shortcuts.refusal(key) != GlobalShortcuts::Refusal::None)
            continue;
        const QString keys = sequence.toString(QKeySequence::NativeText);
        return key == UserDefaults::miniWindowShortcutKey
                   ? tr("Press %1 in any application to bring up its mini window.").arg(keys)
                   : tr("Press %1 in any application to bring up this window.").arg(keys);
    }
    return tr("Choose a shortcut in the Preferences to bring it up from any application.");
}

// The entry of another program in the autostart folder is never replaced: the log says why.
void WelcomeView::startAtLogIn()
{
    if (m_loginItems.setEnabled(true)) {
        m_logInOutcome = tr("Vantrel now starts when you log in.");
        setActionText(QString());
    } else {
        m_logInOutcome = tr("Vantrel could not be set to start at log-in.");
    }
    updateText();
}
