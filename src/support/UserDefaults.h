#pragma once

#include <QString>

// The user defaults: one INI file per user, $XDG_CONFIG_HOME/vantrel/vantrel.conf (default
// ~/.config/vantrel/vantrel.conf). QSettings' own IniFormat user path would end in ".ini", so
// the file is named here and opened as QSettings(path(), QSettings::IniFormat).
namespace UserDefaults {
QString path();
} // namespace UserDefaults
