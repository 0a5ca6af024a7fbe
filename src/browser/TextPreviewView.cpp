#include "browser/TextPreviewView.h"

TextPreviewView::TextPreviewView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    setViewportMargins(margin, margin, margin, margin);
}

void TextPreviewView::setPreparedDocument(std::shared_ptr<QTextDocument> document)
{
    // The view takes the new document before the old one goes.
    setDocument(document.get());
    m_document = std::move(document);
}
