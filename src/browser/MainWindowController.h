#pragma once

#include "browser/ViewController.h"

#include <QMainWindow>

// The main window; its content is the ViewController, loaded with the window.
class MainWindowController : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindowController(const ViewController::Services& services,
                                  QWidget* parent = nullptr);

    ViewController& contentViewController() const { return *m_content; }

private:
    ViewController* m_content;
};
