#pragma once

#include <QTextEdit>
#include <memory>

// Read-only text drawn straight on the pane (no frame, no background of its own), showing a
// document prepared off the GUI thread. It is its own scroll area.
class TextPreviewView : public QTextEdit
{
    Q_OBJECT

public:
    explicit TextPreviewView(QWidget* parent = nullptr);

    // Shows `document` and keeps it until the next one replaces it.
    void setPreparedDocument(std::shared_ptr<QTextDocument> document);

private:
    std::shared_ptr<QTextDocument> m_document;
};
