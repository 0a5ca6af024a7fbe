#pragma once

#include <QTextEdit>
#include <memory>

// Read-only text drawn straight on the pane (no frame, no background of its own), showing a
// document prepared off the GUI thread. It is its own scroll area, and keeps a margin on every
// side so that neither left-to-right nor right-to-left text touches the pane's edge.
class TextPreviewView : public QTextEdit
{
    Q_OBJECT

public:
    explicit TextPreviewView(QWidget* parent = nullptr);

    // Shows `document` and keeps it until the next one replaces it.
    void setPreparedDocument(std::shared_ptr<QTextDocument> document);

    static constexpr int margin = 12;

private:
    std::shared_ptr<QTextDocument> m_document;
};
