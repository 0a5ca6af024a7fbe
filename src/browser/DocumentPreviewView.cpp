#include "browser/DocumentPreviewView.h"

#include "browser/DeliverLater.h"
#include "browser/FileInfoView.h"
#include "browser/ImagePreviewView.h"
#include "browser/PreviewPreparation.h"
#include "browser/TextPreviewView.h"
#include "item/ContentIcons.h"
#include "support/StringAdditions.h"

#include <QImageReader>
#include <QPdfDocument>
#include <QPdfView>
#include <QStackedLayout>
#include <QtConcurrent>

namespace {
constexpr int redecodeDelayMs = 200;
// The decode size for a view that has not been laid out yet; a resize asks for more.
constexpr QSize unlaidFit(1024, 1024);
// Qt refuses to decode a picture needing more than 128 MB, which turns away an ordinary
// 50-megapixel photo or a screenshot of a large screen. A reader that cannot scale while it
// decodes (PNG) needs the full picture in memory for a moment on the pool thread, so the limit
// is raised to what about 250 megapixels need; larger pictures still show their file facts.
constexpr int imageAllocationLimitMb = 1024;

void allowLargePictures()
{
    static const bool raised = [] {
        QImageReader::setAllocationLimit(
            std::max(QImageReader::allocationLimit(), imageAllocationLimitMb));
        return true;
    }();
    Q_UNUSED(raised);
}
} // namespace

DocumentPreviewView::DocumentPreviewView(QWidget* parent)
    : QWidget(parent), m_pages(new QStackedLayout(this)), m_blank(new QWidget(this)),
      m_image(new ImagePreviewView(this)), m_text(new TextPreviewView(this)),
      m_fileInfo(new FileInfoView(this))
{
    allowLargePictures();
    setAccessibleName(tr("Document preview"));
    m_blank->setObjectName(QStringLiteral("blankPreview"));
    m_image->setObjectName(QStringLiteral("imagePreview"));
    m_text->setObjectName(QStringLiteral("textFilePreview"));
    m_text->setAccessibleName(tr("Text file preview"));
    m_fileInfo->setObjectName(QStringLiteral("fileInfo"));
    for (QWidget* page : {m_blank, static_cast<QWidget*>(m_image), static_cast<QWidget*>(m_text),
                          static_cast<QWidget*>(m_fileInfo)})
        m_pages->addWidget(page);
    m_redecode.setSingleShot(true);
    m_redecode.setInterval(redecodeDelayMs);
    connect(&m_redecode, &QTimer::timeout, this, &DocumentPreviewView::prepare);
}

DocumentPreviewView::~DocumentPreviewView() = default;

void DocumentPreviewView::setPreviewItem(const PBContentPtr& item)
{
    const std::optional<QUrl> address = item ? item->previewItemURL() : std::nullopt;
    m_path = address ? address->toLocalFile() : QString();
    m_pages->setCurrentWidget(m_blank);
    m_image->clear();
    if (!item) {
        ++m_generation;
        return;
    }
    // A file item whose address cannot be read still shows what it can: its (missing) facts.
    prepare();
}

void DocumentPreviewView::prepare()
{
    const quint64 generation = ++m_generation;
    // Only the current page of the stack follows the view's size, so the view's own size counts.
    const QSize fit = m_image->fitSize(contentsRect().size());
    deliverLater(
        this,
        QtConcurrent::run(&PreviewPreparation::document, m_path, fit.isEmpty() ? unlaidFit : fit),
        [this, generation](PreparedPreview prepared) {
            if (generation == m_generation)
                showPrepared(std::move(prepared));
        });
}

void DocumentPreviewView::showPrepared(PreparedPreview prepared)
{
    switch (prepared.kind) {
    case PreparedPreview::Kind::Image:
        m_image->setImage(prepared.image, prepared.fullSize);
        m_pages->setCurrentWidget(m_image);
        break;
    case PreparedPreview::Kind::Text:
        m_text->setPreparedDocument(std::move(prepared.document));
        m_pages->setCurrentWidget(m_text);
        break;
    case PreparedPreview::Kind::Pdf:
        showPdf(std::move(prepared.pdf));
        break;
    case PreparedPreview::Kind::FileInfo:
        showFileInfo(prepared);
        break;
    }
    emit previewReady();
}

void DocumentPreviewView::showFileInfo(const PreparedPreview& prepared)
{
    const QIcon icon = prepared.iconName.isEmpty()
                           ? ContentIcons::missingFile()
                           : QIcon::fromTheme(prepared.iconName, ContentIcons::missingFile());
    const QString size =
        prepared.size < 0 ? QString() : StringAdditions::stringWithSize(prepared.size);
    m_fileInfo->setFileInfo(icon, prepared.name, size, prepared.typeName);
    m_pages->setCurrentWidget(m_fileInfo);
}

void DocumentPreviewView::showPdf(std::shared_ptr<QPdfDocument> document)
{
    if (!m_pdf)
        setupPdfView();
    // The view lets go of the old document before it goes.
    m_pdf->setDocument(document.get());
    m_pdfDocument = std::move(document);
    m_pages->setCurrentWidget(m_pdf);
}

void DocumentPreviewView::setupPdfView()
{
    m_pdf = new QPdfView(this);
    m_pdf->setObjectName(QStringLiteral("pdfPreview"));
    m_pdf->setAccessibleName(tr("PDF preview"));
    m_pdf->setFrameShape(QFrame::NoFrame);
    m_pdf->setPageMode(QPdfView::PageMode::MultiPage);
    m_pdf->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_pages->addWidget(m_pdf);
}

void DocumentPreviewView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_pages->currentWidget() == m_image && m_image->wantsLargerImage())
        m_redecode.start();
}
