#pragma once

#include <QString>

// Where the application keeps its files.
namespace AppPaths {
// $XDG_DATA_HOME/vantrel: the history, the payload folder and the settings.
QString dataFolder();
} // namespace AppPaths
