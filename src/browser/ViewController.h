#pragma once

#include "shell/WindowCommands.h"

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class DBManager;

// The main window's content: it starts the first load of the history and switches between the
// main window and the mini window for the shell's window commands.
class ViewController : public QWidget, public WindowCommands
{
    Q_OBJECT

public:
    // What the controller works with; all must outlive it.
    struct Services
    {
        DBManager& dbManager;
    };

    // Loads at once: starts the first fetch of the history.
    explicit ViewController(const Services& services, QWidget* parent = nullptr);
    ~ViewController() override;

    void showMainWindow() override;
    void showMiniWindow() override;
    void handleReopenWindow() override;
    bool miniWindowShowing() const { return m_miniWindowShowing; }

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
    std::unique_ptr<QWidget> m_miniWindowController;
    bool m_miniWindowShowing = false;
    QElapsedTimer m_loading;
};
