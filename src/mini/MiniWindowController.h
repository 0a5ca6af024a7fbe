#pragma once

#include "browser/CategoryListViewController.h"
#include "browser/WindowFrameAutosave.h"

#include <QMainWindow>

class MiniViewController;

// The mini window, titled "Vantrel Mini"; its content is the MiniViewController. Its frame is
// kept in the user defaults under the autosave name, and put back when it is made.
class MiniWindowController : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr const char* frameAutosaveName = "MiniWindowController";
    static constexpr QSize defaultSize{380, 540};

    // The frame is kept in the user defaults at `userDefaultsPath` (empty: the usual file).
    explicit MiniWindowController(const CategoryListViewController::Services& services,
                                  const QString& userDefaultsPath = {}, QWidget* parent = nullptr);
    ~MiniWindowController() override;

    MiniViewController& contentViewController() const { return *m_content; }

private:
    void windowDidLoad();

    MiniViewController* m_content;
    WindowFrameAutosave m_frame;
};
