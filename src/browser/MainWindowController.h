#pragma once

#include "browser/ViewController.h"
#include "browser/WindowFrameAutosave.h"

#include <QMainWindow>

// The main window; its content is the ViewController, loaded with the window. Its frame is saved
// in the user defaults under the autosave name whenever it moves or is resized, and restored at
// the next launch.
class MainWindowController : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char* frameAutosaveName = "MainWindowController";

    // The frame is kept in the user defaults at `userDefaultsPath` (empty: the usual file).
    explicit MainWindowController(const ViewController::Services& services,
                                  const QString& userDefaultsPath = {}, QWidget* parent = nullptr);
    ~MainWindowController() override;

    ViewController& contentViewController() const { return *m_content; }

private:
    void windowDidLoad();

    ViewController* m_content;
    WindowFrameAutosave m_frame;
};
