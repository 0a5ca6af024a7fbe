#include "browser/MainWindowController.h"

#include "storage/UserDefaults.h"

MainWindowController::MainWindowController(const ViewController::Services& services,
                                           const QString& userDefaultsPath, QWidget* parent)
    : QMainWindow(parent), m_content(new ViewController(services, this)),
      m_userDefaultsPath(userDefaultsPath.isEmpty() ? UserDefaults::defaultPath()
                                                    : userDefaultsPath)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Vantrel"));
    setCentralWidget(m_content);
    setMinimumSize(720, 440);
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(300);
    connect(&m_saveTimer, &QTimer::timeout, this, &MainWindowController::saveFrame);
    windowDidLoad();
}

MainWindowController::~MainWindowController()
{
    if (m_saveTimer.isActive())
        saveFrame();
}

void MainWindowController::windowDidLoad()
{
    const UserDefaults defaults(m_userDefaultsPath);
    const QByteArray frame = defaults.value(QLatin1StringView(frameAutosaveName)).toByteArray();
    if (frame.isEmpty() || !restoreGeometry(frame))
        resize(960, 620);
}

void MainWindowController::saveFrame()
{
    m_saveTimer.stop();
    // Through the user defaults, which keep their file private.
    UserDefaults(m_userDefaultsPath).setValue(QLatin1StringView(frameAutosaveName), saveGeometry());
}

void MainWindowController::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (isVisible())
        m_saveTimer.start();
}

void MainWindowController::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (isVisible())
        m_saveTimer.start();
}

void MainWindowController::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    saveFrame();
}
