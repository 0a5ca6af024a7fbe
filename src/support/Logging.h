#pragma once

#include <QLoggingCategory>

// One category per subsystem. The fixed log lines are written through these; tests switch them
// on with QT_LOGGING_RULES.
Q_DECLARE_LOGGING_CATEGORY(lcCapture)
Q_DECLARE_LOGGING_CATEGORY(lcStorage)
Q_DECLARE_LOGGING_CATEGORY(lcChannel)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
