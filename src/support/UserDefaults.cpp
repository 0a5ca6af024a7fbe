#include "support/UserDefaults.h"

#include <QStandardPaths>

QString UserDefaults::path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vantrel/vantrel.conf");
}
