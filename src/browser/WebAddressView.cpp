#include "browser/WebAddressView.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A copied address can be any length; beyond this the preview shows its beginning only.
constexpr qsizetype shownAddressLength = 2048;
constexpr qreal titleFontScale = 1.3;

// A long address has no spaces to wrap at: a zero-width space after each separator, and in long
// runs without one, lets it wrap instead of widening the window.
QString wrappable(const QString& address)
{
    constexpr qsizetype longestRun = 32;
    static const QString separators = QStringLiteral("/?&=#.-_~:;,+");
    QString text;
    qsizetype run = 0;
    for (const QChar c : address.left(shownAddressLength)) {
        text += c;
        if (separators.contains(c) || ++run >= longestRun) {
            text += QChar(0x200B);
            run = 0;
        }
    }
    return text;
}
} // namespace

WebAddressView::WebAddressView(bool canLoadPages, QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Web address"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    setupTitle();
    setupAddress();
    layout->addWidget(m_title);
    layout->addWidget(m_address);
    setupActions(canLoadPages);
    layout->addStretch();
}

QLabel* WebAddressView::makeLabel(const QString& objectName, const QString& accessibleName)
{
    auto* label = new QLabel(this);
    label->setObjectName(objectName);
    label->setAccessibleName(accessibleName);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void WebAddressView::setupTitle()
{
    m_title = makeLabel(QStringLiteral("webTitle"), tr("Page title"));
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * titleFontScale);
    m_title->setFont(font);
}

void WebAddressView::setupAddress()
{
    m_address = makeLabel(QStringLiteral("webAddress"), tr("Web address"));
    m_address->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void WebAddressView::setupActions(bool canLoadPages)
{
    m_loadButton = new QPushButton(tr("Load Page"), this);
    m_loadButton->setObjectName(QStringLiteral("loadPage"));
    m_loadButton->setAccessibleName(tr("Load Page"));
    m_loadButton->setToolTip(tr("Load this page in the preview. The site learns of the visit, "
                                "and a link meant for one use is used up."));
    m_loadButton->setVisible(canLoadPages);
    connect(m_loadButton, &QPushButton::clicked, this, &WebAddressView::loadRequested);
    m_openLink = new QLabel(this);
    m_openLink->setObjectName(QStringLiteral("openInBrowser"));
    m_openLink->setAccessibleName(tr("Open in Browser"));
    m_openLink->setToolTip(tr("Open this address in your web browser"));
    m_openLink->setText(QStringLiteral("<a href=\"open\">%1</a>").arg(tr("Open in Browser")));
    m_openLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(m_openLink, &QLabel::linkActivated, this, &WebAddressView::openRequested);
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->addSpacing(m_title->fontMetrics().height());
    box->addWidget(m_loadButton, 0, Qt::AlignHCenter);
    box->addWidget(m_openLink, 0, Qt::AlignHCenter);
}

void WebAddressView::showAddress(const QString& address, const QString& title, bool loadable)
{
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
    m_address->setText(wrappable(address));
    m_address->setAccessibleDescription(address.left(shownAddressLength));
    m_loadButton->setEnabled(loadable);
    m_openLink->setEnabled(loadable);
}
