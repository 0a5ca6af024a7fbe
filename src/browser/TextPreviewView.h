#pragma once

#include <QTextEdit>
#include <QTimer>
#include <memory>

// Read-only text drawn straight on the pane (no frame, no background of its own), showing a
// document prepared off the GUI thread. It is its own scroll area, and keeps a margin on every
// side so that neither left-to-right nor right-to-left text touches the pane's edge.
//
// A long document is laid out in one go when it is set on a text edit, and the layout of a few
// megabytes keeps the GUI thread busy for a tenth of a second at a time. The view shows the first
// parts at once and copies the rest over in later turns of the event loop, so that each turn lays
// out only what it added.
class TextPreviewView : public QTextEdit
{
    Q_OBJECT

public:
    explicit TextPreviewView(QWidget* parent = nullptr);

    // Shows `document`, replacing what was shown; parts not yet copied over of the document shown
    // before are dropped.
    void setPreparedDocument(std::shared_ptr<QTextDocument> document);
    // Whether all of the last document set is shown.
    bool isComplete() const { return !m_source; }

    static constexpr int margin = 12;
    // Text is copied over in parts of this many characters, rounded up to the end of a paragraph,
    // each laid out in a few milliseconds; a turn of the event loop copies parts until its budget
    // is spent.
    static constexpr int partLength = 4 * 1024;
    static constexpr qint64 turnBudgetMs = 10;

private:
    void showNextPart();

    std::unique_ptr<QTextDocument> m_shown;
    std::shared_ptr<QTextDocument> m_source;
    int m_copied = 0;
    QTimer m_nextPart;
};
