#pragma once

#include "browser/CategoryListViewController.h"
#include "shell/WindowCommands.h"

#include <QList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class CategoryViewController;
class QAction;
class QMenu;
class Clock;
class DBManager;
class DataManager;
class PBWatcher;
class RowArtworkCache;
class TabItemView;
class TimeUpdater;
class BooleanSetting;
namespace Ui {
class ViewController;
}

// The main window's content: it waits for the first load of the history, shows it in six category
// tabs with their counts, each over its page, plus a search page, and switches between the main
// window and the mini window for the shell's window commands.
class ViewController : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // What the controller works with; all must outlive it.
    struct Services
    {
        DBManager& dbManager;
        // Puts a chosen item back on the clipboard without recording it.
        PBWatcher& watcher;
        TimeUpdater& timeUpdater;
        RowArtworkCache& artwork;
        // Times the loading, which shows for at least `minimumLoadingTime`.
        const Clock& clock;
        // Whether the previews load web pages at once; none: only on request.
        const BooleanSetting* webPreview = nullptr;
        // Pastes an item chosen in either window into the application it was called from;
        // none: choosing only copies.
        PasteToApplication* paste = nullptr;
        // Whether the lists show compact rows; none: comfortable rows.
        const BooleanSetting* compactRows = nullptr;
    };

    static constexpr double minimumLoadingTime = 0.5;
    // Makes the mini window, which lives in a layer above this one; the composition root installs
    // it. Without one there is no mini window to show.
    using MiniWindowFactory = std::function<std::unique_ptr<QWidget>()>;

    // Loads at once: the tabs appear once the first load of the history is done.
    explicit ViewController(const Services& services, QWidget* parent = nullptr);
    ~ViewController() override;

    void showMainWindow() override;
    void showMiniWindow() override;
    // Brings back the window the user last had open.
    void handleReopenWindow() override;
    bool miniWindowShowing() const { return m_miniWindowShowing; }
    // The mini window is made by the factory on first use, and kept.
    void setMiniWindowFactory(MiniWindowFactory factory);
    void showNoTrayNotice() override;
    // Shows the welcome the factory makes; without a factory there is none.
    void showWelcome() override;
    using WelcomeFactory = std::function<std::unique_ptr<QWidget>()>;
    void setWelcomeFactory(WelcomeFactory factory);
    // The tool bar's menu button offers these actions (the application's pause or resume,
    // preferences and quit), separated, so that no tray is needed to reach them.
    void setApplicationMenu(const QList<QAction*>& actions);

    // The six tabs in display order: Recents, Marked, Text, Image, URL, File.
    QList<TabItemView*> allTabItems() const;
    // The pages in the tabs' order, then the search page; empty while loading.
    QList<CategoryViewController*> pages() const { return m_pages; }
    // The search-results page.
    CategoryViewController* searchVC() const { return m_searchVC; }
    // The selected tab's index, -1 while the search page shows or before the tabs are built.
    int selectedTab() const;

    // What a click on the tab does: selects it alone, shows its page, takes the keyboard focus
    // from the search field and clears its text.
    void selectTab(int index);
    // What a click in the search field does: no tab selected, the search page shown.
    void showSearchPage();

    // The divider between list and preview, one place for every page; 0: each page's own.
    int listWidth() const { return m_listWidth; }
    void setListWidth(int width);
    // Below this width the tab bar shows its icons alone.
    static constexpr int sidebarCollapseWidth = 760;
    static constexpr int sidebarWidth = 190;
    static constexpr int collapsedSidebarWidth = 48;

signals:
    // The view has been shown (each time).
    void viewDidAppear();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void viewDidLoad();
    void setupKeys();
    void firstFetchDone();
    void buildTabs();
    void buildTab(int index);
    void addPage(CategoryViewController* page);
    void focusSearchField();
    void escapePressed();
    void rememberActiveWindow();
    void updateResultCount();
    CategoryListViewController::Services listServices() const;

    std::unique_ptr<Ui::ViewController> m_ui;
    Services m_services;
    MiniWindowFactory m_miniWindowFactory;
    WelcomeFactory m_welcomeFactory;
    QWidget* m_welcome = nullptr;
    QMenu* m_applicationMenu = nullptr;
    std::unique_ptr<QWidget> m_miniWindowController;
    bool m_miniWindowShowing = false;
    double m_loadingStart = 0;
    QTimer m_tabBuildTimer;
    QList<CategoryViewController*> m_pages;
    CategoryViewController* m_searchVC = nullptr;
    int m_lastSelectedTab = 0;
    int m_listWidth = 0;
};
