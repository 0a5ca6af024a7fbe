// The web preview where Qt WebEngine is not built in: the address and a way to open it.
#include "browser/WebAddressView.h"
#include "browser/WebPreviewView.h"
#include "shell/Utils.h"

#include <QVBoxLayout>

struct WebPreviewView::Parts
{
    WebAddressView* address = nullptr;
    PBContentPtr item;
};

WebPreviewView::WebPreviewView(QWidget* parent)
    : QWidget(parent), m_parts(std::make_unique<Parts>())
{
    setAccessibleName(tr("Web page"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_parts->address = new WebAddressView(false, this);
    m_parts->address->setObjectName(QStringLiteral("webAddressView"));
    layout->addWidget(m_parts->address);
    connect(m_parts->address, &WebAddressView::openRequested, this,
            [this] { Utils::openContent(m_parts->item, this); });
}

WebPreviewView::~WebPreviewView() = default;

void WebPreviewView::setContent(const PBContentPtr& item, bool /*loadAtOnce*/)
{
    m_parts->item = item;
    const QString text = item ? item->keyword().trimmed() : QString();
    m_parts->address->showAddress(text, {}, Utils::webAddress(text).has_value());
}

void WebPreviewView::loadPage() {}

WebAddressView* WebPreviewView::addressView() const
{
    return m_parts->address;
}
