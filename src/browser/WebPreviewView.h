#pragma once

#include "item/PBContent.h"

#include <QWidget>
#include <memory>

class WebAddressView;
class WebPagePlugin;

// A web-address item. It first shows the address (WebAddressView) and fetches nothing: a load
// would send what the user copied to the network and use up a one-time link. Where the browser
// engine's plug-in is at hand, "Load Page" (or the caller, when the user chose to load pages at
// once) shows the live page in a private profile that keeps nothing on disk; the plug-in is
// loaded and the engine started only then. Without it, the address and an "Open in Browser"
// link.
class WebPreviewView : public QWidget
{
    Q_OBJECT

public:
    // Pages come from the installed plug-in, or from `plugin`.
    explicit WebPreviewView(QWidget* parent = nullptr);
    explicit WebPreviewView(WebPagePlugin& plugin, QWidget* parent = nullptr);
    ~WebPreviewView() override;

    // Shows the item's address, with its page's title when a load in this run made it known. A
    // page shown before is left: nothing is carried over. `loadAtOnce`: the page is loaded too.
    void setContent(const PBContentPtr& item, bool loadAtOnce);
    // Loads the shown item's page in place of its address. Only http and https addresses load;
    // without the engine's plug-in nothing does.
    void loadPage();

    WebAddressView* addressView() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
