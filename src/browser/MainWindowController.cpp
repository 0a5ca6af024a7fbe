#include "browser/MainWindowController.h"

MainWindowController::MainWindowController(const ViewController::Services& services,
                                           const QString& userDefaultsPath, QWidget* parent)
    : QMainWindow(parent), m_content(new ViewController(services, this)),
      m_frame(*this, QLatin1StringView(frameAutosaveName), userDefaultsPath)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Vantrel"));
    setCentralWidget(m_content);
    // Fits a 1280 x 800 screen at twice the scale.
    setMinimumSize(480, 360);
    m_frame.setDivider([this] { return m_content->listWidth(); },
                       [this](int width) { m_content->setListWidth(width); });
    windowDidLoad();
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::windowDidLoad()
{
    if (!m_frame.restore())
        resize(960, 620);
}
