#include "browser/MainWindowController.h"

MainWindowController::MainWindowController(const ViewController::Services& services,
                                           const QString& userDefaultsPath, QWidget* parent)
    : QMainWindow(parent), m_content(new ViewController(services, this)),
      m_frame(*this, QLatin1StringView(frameAutosaveName), userDefaultsPath)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Vantrel"));
    setCentralWidget(m_content);
    setMinimumSize(720, 440);
    windowDidLoad();
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::windowDidLoad()
{
    if (!m_frame.restore())
        resize(960, 620);
}
