#include "browser/TextPreviewView.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <utility>

TextPreviewView::TextPreviewView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setAccessibleName(tr("Scroll"));
    viewport()->setAutoFillBackground(false);
    setViewportMargins(margin, margin, margin, margin);
    m_nextPart.setInterval(0);
    connect(&m_nextPart, &QTimer::timeout, this, &TextPreviewView::showNextPart);
}

void TextPreviewView::setPreparedDocument(std::shared_ptr<QTextDocument> document)
{
    auto shown = std::make_unique<QTextDocument>();
    shown->setUndoRedoEnabled(false);
    if (document) {
        shown->setDefaultFont(document->defaultFont());
        shown->setDefaultTextOption(document->defaultTextOption());
        shown->setDocumentMargin(document->documentMargin());
        shown->rootFrame()->setFrameFormat(document->rootFrame()->frameFormat());
    }
    const std::unique_ptr<QTextDocument> previous = std::exchange(m_shown, std::move(shown));
    m_source = std::move(document);
    m_copied = 0;
    // The first parts go in before the view takes the document, so that its caret starts at the
    // beginning and stays there, with nothing selected, as later parts are added after it.
    showNextPart();
    // The view takes the new document before the old one goes.
    setDocument(m_shown.get());
}

void TextPreviewView::showNextPart()
{
    const int end = m_source ? m_source->characterCount() - 1 : 0;
    QElapsedTimer turn;
    turn.start();
    while (m_copied < end && turn.elapsed() < turnBudgetMs) {
        QTextCursor part(m_source.get());
        part.setPosition(m_copied);
        // Parts end with a paragraph: the layout of a paragraph continued would start over.
        const QTextBlock last = m_source->findBlock(std::min(end, m_copied + partLength) - 1);
        part.setPosition(std::min(end, last.position() + last.length()), QTextCursor::KeepAnchor);
        // A selection ending in a table takes in the whole table, or none of it.
        if (part.selectionEnd() <= m_copied)
            part.setPosition(end, QTextCursor::KeepAnchor);
        m_copied = part.selectionEnd();
        QTextCursor tail(m_shown.get());
        tail.movePosition(QTextCursor::End);
        tail.insertFragment(QTextDocumentFragment(part));
    }
    if (m_copied < end) {
        m_nextPart.start();
        return;
    }
    m_nextPart.stop();
    m_source.reset();
}
