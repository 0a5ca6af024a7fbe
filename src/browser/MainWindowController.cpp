#include "browser/MainWindowController.h"

MainWindowController::MainWindowController(const ViewController::Services& services,
                                           QWidget* parent)
    : QMainWindow(parent), m_content(new ViewController(services, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Vantrel"));
    setCentralWidget(m_content);
    resize(720, 520);
}
