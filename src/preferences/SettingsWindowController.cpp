#include "preferences/SettingsWindowController.h"

#include <QShortcut>
#include <QVBoxLayout>

SettingsWindowController::SettingsWindowController(const SettingsViewController::Services& services,
                                                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_content(new SettingsViewController(services, this))
{
    setObjectName(QStringLiteral("settingsWindow"));
    setWindowTitle(tr("Preferences"));
    // A screen reader announces the window by this name.
    setAccessibleName(windowTitle());
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
