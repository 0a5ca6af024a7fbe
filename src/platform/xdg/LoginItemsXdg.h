#pragma once

#include "platform/LoginItems.h"

#include <QString>

// Start at log-in through an XDG autostart entry, "vantrel.desktop" in the autostart folder
// ($XDG_CONFIG_HOME/autostart). The entry is ours when the program of its Exec= line is this
// executable's absolute path; an entry for another path (another copy of Vantrel, or something
// the user wrote) is never overwritten or removed and does not count as enabled.
class LoginItemsXdg : public LoginItems
{
public:
    // The entry for `executablePath` in `autostartFolder`.
    LoginItemsXdg(const QString& autostartFolder, const QString& executablePath);

    // The user's autostart folder, $XDG_CONFIG_HOME/autostart.
    static QString userAutostartFolder();

    QString entryPath() const { return m_entryPath; }

    bool isEnabled() const override;
    // Enabling refuses (and logs) while an entry that is not ours occupies the file.
    bool setEnabled(bool enabled) override;
    Refusal lastRefusal() const override { return m_lastRefusal; }
    QString entryLocation() const override { return m_entryPath; }

    // The Exec= value that runs `program` with no arguments: quoted where the path holds a
    // reserved character, "%" doubled, then escaped as a desktop-entry string.
    static QString execValue(const QString& program);
    // The program (first argument) of an Exec= value as read from the file (string escapes
    // already undone), or a null string when the quoting is broken.
    static QString execProgram(const QString& exec);

private:
    enum class Entry { None, Ours, OursDisabled, Foreign };
    Entry currentEntry() const;
    bool writeEntry() const;
    bool removeEntry() const;

    QString m_folder;
    QString m_entryPath;
    QString m_executablePath;
    Refusal m_lastRefusal = Refusal::None;
};
