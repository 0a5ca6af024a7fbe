#include "browser/PreviewViewController.h"

#include "browser/DeliverLater.h"
#include "browser/DocumentPreviewView.h"
#include "browser/PreviewPreparation.h"
#include "browser/TextPreviewView.h"
#include "browser/WebPreviewView.h"
#include "storage/BooleanSetting.h"

#include <QTextDocument>
#include <QVBoxLayout>
#include <QtConcurrent>

PreviewViewController::PreviewViewController(const BooleanSetting* webPreview, QWidget* parent)
    : QWidget(parent), m_webPreview(webPreview), m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("previewViewController"));
    setAccessibleName(tr("Preview"));
    m_layout->setContentsMargins(0, 0, 0, 0);
}

PreviewViewController::~PreviewViewController() = default;

WebPreviewView* PreviewViewController::webView()
{
    if (!m_webView) {
        m_webView = new WebPreviewView(this);
        m_webView->setObjectName(QStringLiteral("webView"));
        m_layout->addWidget(m_webView);
    }
    return m_webView;
}

DocumentPreviewView* PreviewViewController::previewView()
{
    if (!m_previewView) {
        m_previewView = new DocumentPreviewView(this);
        m_previewView->setObjectName(QStringLiteral("previewView"));
        m_previewView->hide();
        m_layout->addWidget(m_previewView);
        connect(m_previewView, &DocumentPreviewView::previewReady, this,
                &PreviewViewController::previewShown);
    }
    return m_previewView;
}

TextPreviewView* PreviewViewController::textView()
{
    if (!m_textView) {
        m_textView = new TextPreviewView(this);
        m_textView->setObjectName(QStringLiteral("textView"));
        m_textView->setAccessibleName(tr("Formatted text"));
        m_layout->addWidget(m_textView);
    }
    return m_textView;
}

void PreviewViewController::setPreviewContent(const PBContentPtr& item)
{
    ++m_generation;
    hideViews();
    if (!item)
        return;
    switch (item->type()) {
    case PBContentTypeURL:
        showWebPage(item);
        break;
    case PBContentTypeText:
        showFormattedText(item);
        break;
    default:
        showDocument(item);
    }
}

void PreviewViewController::hideViews()
{
    if (m_webView)
        m_webView->hide();
    previewView()->hide();
    previewView()->setPreviewItem(nullptr);
    textView()->hide();
}

void PreviewViewController::showWebPage(const PBContentPtr& item)
{
    webView()->setContent(item, m_webPreview && m_webPreview->value());
    webView()->show();
    emit previewShown();
}

void PreviewViewController::showFormattedText(const PBContentPtr& item)
{
    const QString path = item->dataPathArray().value_or(QStringList()).value(0);
    const QString firstType = item->pasteboardTypes().value(0);
    const quint64 generation = m_generation;
    deliverLater(this, QtConcurrent::run(&PreviewPreparation::formattedText, path, firstType),
                 [this, generation, item](std::shared_ptr<QTextDocument> document) {
                     if (generation != m_generation)
                         return;
                     if (!document) {
                         showDocument(item);
                         return;
                     }
                     textView()->setPreparedDocument(std::move(document));
                     textView()->show();
                     emit previewShown();
                 });
}

void PreviewViewController::showDocument(const PBContentPtr& item)
{
    previewView()->show();
    // Laid out now, so that a picture is decoded at the size it will be shown at.
    m_layout->activate();
    previewView()->setPreviewItem(item);
}
