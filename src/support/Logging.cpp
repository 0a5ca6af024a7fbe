#include "support/Logging.h"

Q_LOGGING_CATEGORY(lcCapture, "vantrel.capture", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStorage, "vantrel.storage", QtInfoMsg)
Q_LOGGING_CATEGORY(lcChannel, "vantrel.channel", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPlatform, "vantrel.platform", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShell, "vantrel.shell", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBrowser, "vantrel.browser", QtInfoMsg)
