#include "support/AppPaths.h"

#include <QStandardPaths>

QString AppPaths::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vantrel");
}
