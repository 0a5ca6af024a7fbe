#include "mini/MiniWindowController.h"

#include "mini/MiniViewController.h"

MiniWindowController::MiniWindowController(const CategoryListViewController::Services& services,
                                           const QString& userDefaultsPath, QWidget* parent)
    : QMainWindow(parent), m_content(new MiniViewController(services, this)),
      m_frame(*this, QLatin1StringView(frameAutosaveName), userDefaultsPath)
{
    setObjectName(QStringLiteral("miniWindow"));
    setWindowTitle(tr("Vantrel Mini"));
    setAccessibleName(tr("Vantrel Mini"));
    setCentralWidget(m_content);
    windowDidLoad();
}

// The frame is also kept under the content controller's name as it goes.
MiniWindowController::~MiniWindowController()
{
    m_frame.saveFrameUsingName(QStringLiteral("MiniViewController"));
}

void MiniWindowController::windowDidLoad()
{
    if (!m_frame.restore())
        resize(defaultSize);
}
