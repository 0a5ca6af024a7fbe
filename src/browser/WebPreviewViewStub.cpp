// The web preview where Qt WebEngine is not built in: the address and a way to open it.
#include "browser/WebPreviewView.h"
#include "shell/Utils.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

struct WebPreviewView::Parts
{
    QLabel* address = nullptr;
    QPushButton* open = nullptr;
    PBContentPtr item;
};

WebPreviewView::WebPreviewView(QWidget* parent)
    : QWidget(parent), m_parts(std::make_unique<Parts>())
{
    setAccessibleName(tr("Web page"));
    auto* layout = new QVBoxLayout(this);
    m_parts->address = new QLabel(this);
    m_parts->address->setObjectName(QStringLiteral("webAddress"));
    m_parts->address->setAccessibleName(tr("Web address"));
    m_parts->address->setWordWrap(true);
    m_parts->address->setAlignment(Qt::AlignCenter);
    m_parts->address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_parts->open = new QPushButton(tr("Open in Browser"), this);
    m_parts->open->setObjectName(QStringLiteral("openInBrowser"));
    m_parts->open->setAccessibleName(tr("Open in Browser"));
    connect(m_parts->open, &QPushButton::clicked, this,
            [this] { Utils::openContent(m_parts->item, this); });
    layout->addStretch();
    layout->addWidget(m_parts->address);
    layout->addWidget(m_parts->open, 0, Qt::AlignHCenter);
    layout->addStretch();
}

WebPreviewView::~WebPreviewView() = default;

void WebPreviewView::loadContent(const PBContentPtr& item)
{
    m_parts->item = item;
    const QString text = item ? item->keyword().trimmed() : QString();
    m_parts->address->setText(text);
    m_parts->open->setEnabled(Utils::webAddress(text).has_value());
}
