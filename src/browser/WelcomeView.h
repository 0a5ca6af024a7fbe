#pragma once

#include "controls/NoticeBar.h"

class LoginItems;
class ShortcutBindings;

// The first run's welcome above the main window's lists: how to bring Vantrel up from any
// application (its shortcut, how to choose one, or where the desktop binds the command when
// Vantrel cannot), and the offer to start Vantrel at log-in. It follows the shortcuts as they
// change, and a desktop that tells only later whether it has global shortcuts.
class WelcomeView : public NoticeBar
{
    Q_OBJECT

public:
    // Both must outlive the view.
    WelcomeView(const ShortcutBindings& shortcuts, LoginItems& loginItems,
                QWidget* parent = nullptr);

private:
    void updateText();
    QString howToCall() const;
    void startAtLogIn();

    const ShortcutBindings& m_shortcuts;
    LoginItems& m_loginItems;
    // What became of the offer to start at log-in; empty until it is taken.
    QString m_logInOutcome;
};
