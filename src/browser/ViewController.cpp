#include "browser/ViewController.h"

#include "browser/CategoryViewController.h"
#include "browser/HistoryListModel.h"
#include "browser/HistoryRowDelegate.h"
#include "browser/RowArtworkCache.h"
#include "browser/RowColors.h"
#include "browser/TabItemView.h"
#include "shell/TimeUpdater.h"
#include "shell/Utils.h"
#include "storage/DBManager.h"
#include "support/Clock.h"
#include "ui_ViewController.h"

#include <QMenu>
#include <QShortcut>
#include <algorithm>
#include <array>

namespace {

struct Tab
{
    const char* image;
    const char* title;
    Category category;
};

// The tabs in display order; the category numbers are not in that order.
const std::array<Tab, 6> tabs{{
    {"tab_recent", QT_TRANSLATE_NOOP("ViewController", "Recents"), Category::Recents},
    {"tab_bookmark", QT_TRANSLATE_NOOP("ViewController", "Marked"), Category::Marked},
    {"tab_text", QT_TRANSLATE_NOOP("ViewController", "Text"), Category::Text},
    {"tab_image", QT_TRANSLATE_NOOP("ViewController", "Image"), Category::Image},
    {"tab_url", QT_TRANSLATE_NOOP("ViewController", "URL"), Category::URL},
    {"tab_file", QT_TRANSLATE_NOOP("ViewController", "File"), Category::File},
}};

} // namespace

ViewController::ViewController(const Services& services, QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::ViewController>()), m_services(services),
      m_tabBuildTimer(this)
{
    m_ui->setupUi(this);
    m_ui->miniWindowButton->setImage(HistoryRowDelegate::image(QStringLiteral("mini_window")));
    connect(m_ui->miniWindowButton, &QToolButton::clicked, this, &ViewController::showMiniWindow);
    m_ui->appMenuButton->setImage(HistoryRowDelegate::image(QStringLiteral("app_menu")));
    m_ui->appMenuButton->hide();
    m_ui->noTrayNotice->setText(
        tr("Your desktop shows no tray icons, so Vantrel lives in this window. Closing it keeps "
           "Vantrel recording; to bring the window back, start Vantrel again from your "
           "applications menu or run “vantrel”. The menu button at the top right pauses "
           "recording, opens the preferences and quits."));
    m_tabBuildTimer.setObjectName(QStringLiteral("tabBuildTimer"));
    m_tabBuildTimer.setSingleShot(true);
    connect(&m_tabBuildTimer, &QTimer::timeout, this, &ViewController::buildTabs);
    setupKeys();
    viewDidLoad();
}

ViewController::~ViewController() = default;

// A window made once the history is loaded (the application loads it at start) has nothing to
// wait for; otherwise it waits for the load in flight, or starts one.
void ViewController::viewDidLoad()
{
    if (m_services.dbManager.isLoaded()) {
        buildTabs();
        return;
    }
    m_ui->tabItemsContainer->hide();
    m_ui->loadingView->show();
    m_loadingStart = m_services.clock.now();
    QPointer<ViewController> self(this);
    m_services.dbManager.loadOnce([self] {
        if (self)
            self->firstFetchDone();
    });
}

// The spinner stays at least half a second, so a quick load does not flash it.
void ViewController::firstFetchDone()
{
    const double elapsed = m_services.clock.now() - m_loadingStart;
    const double wait = std::max(minimumLoadingTime - elapsed, 0.0);
    m_tabBuildTimer.setInterval(qRound(wait * 1000));
    if (m_tabBuildTimer.interval() > 0)
        m_tabBuildTimer.start();
    else
        buildTabs();
}

void ViewController::buildTabs()
{
    m_ui->tabItemsContainer->show();
    m_ui->loadingView->hide();
    for (int index = 0; index < int(tabs.size()); ++index)
        buildTab(index);
    m_searchVC = new CategoryViewController(Category::Search, listServices(), m_ui->tabView);
    m_searchVC->setObjectName(QStringLiteral("searchVC"));
    addPage(m_searchVC);
    connect(m_ui->searchField, &QLineEdit::textChanged, m_searchVC,
            &CategoryViewController::setKeyword);
    connect(m_ui->searchField, &QLineEdit::textChanged, this, &ViewController::updateResultCount);
    const HistoryListModel* results = m_searchVC->listViewController()->contents();
    connect(results, &QAbstractItemModel::modelReset, this, &ViewController::updateResultCount);
    connect(results, &QAbstractItemModel::rowsInserted, this, &ViewController::updateResultCount);
    connect(results, &QAbstractItemModel::rowsRemoved, this, &ViewController::updateResultCount);
    m_ui->searchField->setBecomeFirstResponderBlock([this] { showSearchPage(); });
    selectTab(0);
}

void ViewController::buildTab(int index)
{
    const Tab& tab = tabs[index];
    TabItemView* item = allTabItems().at(index);
    item->setIcon(HistoryRowDelegate::image(QLatin1StringView(tab.image)));
    item->setTitle(tr(tab.title));
    auto* page = new CategoryViewController(tab.category, listServices(), m_ui->tabView);
    page->setObjectName(QStringLiteral("page%1").arg(index + 1));
    addPage(page);
    item->setClickBlock([this, index] { selectTab(index); });
    m_services.dbManager.count(tab.category).observe(item, [item](qint64 count) {
        item->setCount(count);
    });
}

void ViewController::addPage(CategoryViewController* page)
{
    m_ui->tabView->addWidget(page);
    m_pages.append(page);
    if (m_listWidth > 0)
        page->setListWidth(m_listWidth);
    connect(page, &CategoryViewController::listWidthChanged, this, &ViewController::setListWidth);
}

// A divider moved on one page moves on every page.
void ViewController::setListWidth(int width)
{
    m_listWidth = width;
    for (CategoryViewController* page : std::as_const(m_pages)) {
        if (page->listWidth() != width)
            page->setListWidth(width);
    }
}

void ViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_ui->tabContainer->setFixedWidth(width() < sidebarCollapseWidth ? collapsedSidebarWidth
                                                                     : sidebarWidth);
}

QList<TabItemView*> ViewController::allTabItems() const
{
    return {m_ui->tabItem1, m_ui->tabItem2, m_ui->tabItem3,
            m_ui->tabItem4, m_ui->tabItem5, m_ui->tabItem6};
}

int ViewController::selectedTab() const
{
    const QList<TabItemView*> items = allTabItems();
    const auto selected = std::find_if(items.cbegin(), items.cend(),
                                       [](const TabItemView* item) { return item->isSelected(); });
    return selected == items.cend() ? -1 : int(selected - items.cbegin());
}

void ViewController::selectTab(int index)
{
    if (index < 0 || index >= int(tabs.size()) || m_pages.size() <= index)
        return;
    const QList<TabItemView*> items = allTabItems();
    for (TabItemView* item : items)
        item->setSelected(false);
    items.at(index)->setSelected(true);
    m_ui->tabView->setCurrentWidget(m_pages.at(index));
    m_lastSelectedTab = index;
    if (QWidget* focus = window()->focusWidget())
        focus->clearFocus();
    // The tab lists its whole category, so a search text left in the field would not be what
    // the list shows.
    m_ui->searchField->clear();
}

void ViewController::showSearchPage()
{
    if (!m_searchVC)
        return;
    for (TabItemView* item : allTabItems())
        item->setSelected(false);
    m_ui->tabView->setCurrentWidget(m_searchVC);
}

// Beside the field while there is a search text: how many items the search found.
void ViewController::updateResultCount()
{
    const QString keyword = m_ui->searchField->text();
    const bool shown = m_searchVC && !keyword.isEmpty();
    m_ui->resultCountLabel->setVisible(shown);
    if (!shown)
        return;
    const int count = m_searchVC->listViewController()->contents()->rowCount();
    QPalette palette = m_ui->resultCountLabel->palette();
    palette.setColor(QPalette::WindowText, RowColors::secondaryText(palette, QPalette::Window));
    m_ui->resultCountLabel->setPalette(palette);
    m_ui->resultCountLabel->setText(tr("%Ln items", nullptr, count));
}

void ViewController::setupKeys()
{
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &ViewController::focusSearchField);
    for (int index = 0; index < int(tabs.size()); ++index) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + index)), this);
        connect(key, &QShortcut::activated, this, [this, index] { selectTab(index); });
    }
    auto* close = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this);
    connect(close, &QShortcut::activated, this, [this] { window()->close(); });
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &ViewController::escapePressed);
}

// The keyboard's way to the search: what a click in the field does, plus the focus.
void ViewController::focusSearchField()
{
    m_ui->searchField->setFocus(Qt::ShortcutFocusReason);
    m_ui->searchField->selectAll();
    showSearchPage();
}

// Escape leaves the search, its text cleared, for the tab that was selected before; anywhere
// else it closes the window.
void ViewController::escapePressed()
{
    if (m_ui->searchField->hasFocus() || (m_searchVC && selectedTab() < 0))
        selectTab(m_lastSelectedTab);
    else
        window()->close();
}

CategoryListViewController::Services ViewController::listServices() const
{
    return {m_services.dbManager,  m_services.watcher, m_services.timeUpdater, m_services.artwork,
            m_services.webPreview, m_services.paste,   m_services.compactRows};
}

void ViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit viewDidAppear();
}

void ViewController::setMiniWindowFactory(MiniWindowFactory factory)
{
    m_miniWindowFactory = std::move(factory);
}

void ViewController::showMiniWindow()
{
    if (!m_miniWindowController && m_miniWindowFactory)
        m_miniWindowController = m_miniWindowFactory();
    if (!m_miniWindowController)
        return;
    rememberActiveWindow();
    window()->close();
    Utils::bringToFront(m_miniWindowController.get());
    m_miniWindowShowing = true;
}

void ViewController::showMainWindow()
{
    rememberActiveWindow();
    if (m_miniWindowController)
        m_miniWindowController->close();
    Utils::bringToFront(window());
    m_miniWindowShowing = false;
}

// Before Vantrel's window takes the focus: a chosen item is pasted there.
void ViewController::rememberActiveWindow()
{
    if (m_services.paste)
        m_services.paste->rememberActiveWindow();
}

void ViewController::handleReopenWindow()
{
    if (m_miniWindowShowing)
        showMiniWindow();
    else
        showMainWindow();
}

void ViewController::showNoTrayNotice()
{
    m_ui->noTrayNotice->show();
}

void ViewController::setWelcomeFactory(WelcomeFactory factory)
{
    m_welcomeFactory = std::move(factory);
}

// Above the lists, below the no-tray notice.
void ViewController::showWelcome()
{
    if (!m_welcome && m_welcomeFactory) {
        std::unique_ptr<QWidget> welcome = m_welcomeFactory();
        m_ui->rootLayout->insertWidget(m_ui->rootLayout->indexOf(m_ui->noTrayNotice) + 1,
                                       welcome.get());
        m_welcome = welcome.release(); // the layout gave it to this view
    }
    if (m_welcome)
        m_welcome->show();
}

void ViewController::setApplicationMenu(const QList<QAction*>& actions)
{
    if (!m_applicationMenu) {
        m_applicationMenu = new QMenu(this);
        m_applicationMenu->setObjectName(QStringLiteral("applicationMenu"));
        m_ui->appMenuButton->setMenu(m_applicationMenu);
    }
    m_applicationMenu->clear();
    for (QAction* action : actions) {
        if (!m_applicationMenu->isEmpty())
            m_applicationMenu->addSeparator();
        m_applicationMenu->addAction(action);
    }
    m_ui->appMenuButton->setVisible(!actions.isEmpty());
}
