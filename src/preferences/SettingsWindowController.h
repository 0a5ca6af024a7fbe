#pragma once

#include "preferences/SettingsViewController.h"

#include <QWidget>

// The preferences window "Preferences", its content the SettingsViewController. Made once and
// kept: showing it again shows the same panel with the states the user left. Its size follows
// its content and cannot be changed. Escape closes it.
class SettingsWindowController : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWindowController(const SettingsViewController::Services& services,
                                      QWidget* parent = nullptr);

    SettingsViewController& contentViewController() const { return *m_content; }

private:
    SettingsViewController* m_content;
};
