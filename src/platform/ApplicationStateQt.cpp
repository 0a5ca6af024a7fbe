#include "platform/ApplicationStateQt.h"

#include <QGuiApplication>

bool ApplicationStateQt::isActive() const
{
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}
