#include "preferences/SettingsWindowController.h"

#include <QVBoxLayout>

SettingsWindowController::SettingsWindowController(const SettingsViewController::Services& services,
                                                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_content(new SettingsViewController(services, this))
{
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(tr("Preferences"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
