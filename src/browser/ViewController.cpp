#include "browser/ViewController.h"

#include "shell/Utils.h"
#include "storage/DBManager.h"
#include "support/Logging.h"

#include <QPointer>

ViewController::ViewController(const Services& services, QWidget* parent)
    : QWidget(parent), m_services(services)
{
    viewDidLoad();
}

ViewController::~ViewController() = default;

void ViewController::viewDidLoad()
{
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
    Utils::bringToFront(m_miniWindowController.get());
    m_miniWindowShowing = true;
}

void ViewController::showMainWindow()
{
    if (m_miniWindowController)
        m_miniWindowController->close();
    Utils::bringToFront(window());
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
