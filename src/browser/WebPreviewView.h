#pragma once

#include "item/PBContent.h"

#include <QWidget>
#include <memory>

class WebAddressView;

// A web-address item. It first shows the address (WebAddressView) and fetches nothing: a load
// would send what the user copied to the network and use up a one-time link. Built with Qt
// WebEngine, "Load Page" (or the caller, when the user chose to load pages at once) shows the live
// page in a private profile that keeps nothing on disk; the engine is started only then. Built
// without it, the address and an "Open in Browser" link. Which of the two is chosen when the
// build is configured.
class WebPreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit WebPreviewView(QWidget* parent = nullptr);
    ~WebPreviewView() override;

    // Shows the item's address, with its page's title when a load in this run made it known. A
    // page shown before is left: nothing is carried over. `loadAtOnce`: the page is loaded too.
    void setContent(const PBContentPtr& item, bool loadAtOnce);
    // Loads the shown item's page in place of its address. Only http and https addresses load;
    // without the browser engine nothing does.
    void loadPage();

    WebAddressView* addressView() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
