#pragma once

#include "capture/CapturePipeline.h"
#include "capture/PBContentComparer.h"
#include "capture/PBPasteboardItemObserver.h"

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class DBManager;
class DataManager;
class PBWatcher;
class SettingsModel;
class Workspace;

// The main window's content, and where a clipboard change becomes history records: it is the
// watcher's observer and carries the capture pipeline with its copy-mode comparer. It also
// switches between the main window and the mini window for the shell's window commands.
class ViewController : public QWidget, public PBPasteboardItemObserver
{
    Q_OBJECT

public:
    // What the controller works with; all must outlive it.
    struct Services
    {
        PBWatcher& watcher;
        DBManager& dbManager;
        const DataManager& dataManager;
        const SettingsModel& settings;
        const Workspace& workspace;
    };

    // The running application's shared services.
    static Services sharedServices();

    // Loads at once: registers with the watcher and starts the first fetch of the history.
    explicit ViewController(const Services& services, QWidget* parent = nullptr);
    ~ViewController() override;

    void pasteboardItemChanged(const QList<PasteboardItem>& items) override;

    // Each brings its window up, closes the other and makes the application active.
    void showMainWindow();
    void showMiniWindow();
    // Brings up the window last brought up by the two above: the mini window when it was, else
    // the main window.
    void handleReopenWindow();
    bool miniWindowShowing() const { return m_miniWindowShowing; }

    // Shows the window, not minimised, above the others and with the keyboard focus, so that
    // the application becomes the active one as far as the window manager allows.
    static void bringToFront(QWidget* window);

signals:
    // The view has been shown (each time).
    void viewDidAppear();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void viewDidLoad();
    void firstFetchDone();
    static std::unique_ptr<QWidget> makeMiniWindow();

    Services m_services;
    PBContentComparer m_comparer;
    CapturePipeline m_pipeline;
    std::unique_ptr<QWidget> m_miniWindowController;
    bool m_miniWindowShowing = false;
    QElapsedTimer m_loading;
};
