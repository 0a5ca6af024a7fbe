#pragma once

#include "capture/PBContent.h"

#include <QWidget>
#include <memory>

// A web-address item as its live page. Built with Qt WebEngine it is the page itself, in a
// private profile that keeps nothing on disk; built without it, the address and an
// "Open in Browser" button. Which of the two is chosen when the build is configured.
class WebPreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit WebPreviewView(QWidget* parent = nullptr);
    ~WebPreviewView() override;

    // Clears what was shown, then shows the item's address. Only http and https addresses load.
    void loadContent(const PBContentPtr& item);

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
