#include "browser/ViewController.h"

#include "capture/PBWatcher.h"
#include "platform/Platform.h"
#include "storage/DBManager.h"
#include "storage/DataManager.h"
#include "storage/SettingsManager.h"
#include "support/Logging.h"

#include <QApplication>
#include <QPointer>

ViewController::Services ViewController::sharedServices()
{
    return {PBWatcher::sharedWatcher(), DBManager::sharedManager(), DataManager::sharedManager(),
            SettingsManager::sharedManager().model(), Platform::workspace()};
}

ViewController::ViewController(const Services& services, QWidget* parent)
    : QWidget(parent), m_services(services), m_comparer(services.settings),
      m_pipeline(services.workspace, m_comparer, services.dataManager, services.dbManager)
{
    viewDidLoad();
}

ViewController::~ViewController()
{
    m_services.watcher.removeObserver(this);
}

void ViewController::viewDidLoad()
{
    m_services.watcher.addObserver(this);
    m_loading.start();
    QPointer<ViewController> self(this);
    m_services.dbManager.fetchAllItems([self] {
        if (self)
            self->firstFetchDone();
    });
}

void ViewController::firstFetchDone()
{
    qCInfo(lcShell, "loading time %fs", double(m_loading.nsecsElapsed()) / 1e9);
}

void ViewController::pasteboardItemChanged(const QList<PasteboardItem>& items)
{
    m_pipeline.pasteboardItemChanged(items);
}

void ViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit viewDidAppear();
}

void ViewController::showMiniWindow()
{
    if (!m_miniWindowController)
        m_miniWindowController = makeMiniWindow();
    window()->close();
    bringToFront(m_miniWindowController.get());
    m_miniWindowShowing = true;
}

void ViewController::showMainWindow()
{
    if (m_miniWindowController)
        m_miniWindowController->close();
    bringToFront(window());
    m_miniWindowShowing = false;
}

void ViewController::handleReopenWindow()
{
    if (m_miniWindowShowing)
        showMiniWindow();
    else
        showMainWindow();
}

std::unique_ptr<QWidget> ViewController::makeMiniWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QStringLiteral("miniWindow"));
    window->setWindowTitle(tr("Vantrel Mini"));
    window->resize(360, 520);
    return window;
}

void ViewController::bringToFront(QWidget* window)
{
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
