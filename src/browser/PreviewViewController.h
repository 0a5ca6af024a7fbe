#pragma once

#include "item/PBContent.h"

#include <QWidget>
#include <memory>

class DocumentPreviewView;
class TextPreviewView;
class QVBoxLayout;
class BooleanSetting;
class WebPreviewView;

// One clipboard item at full size: a web address as its address (its live page once the user
// asks, or at once when they chose so in the preferences), a text item as its formatted text,
// anything else (and text that cannot be read) through the document preview. At most one of the
// three views shows. The text and document views are made on first use; the web view only when
// the first web address is shown, and its browser engine only when a page is first loaded. Reading
// and decoding happen off the GUI thread; a result for an item that is no longer shown is dropped.
class PreviewViewController : public QWidget
{
    Q_OBJECT

public:
    // Web pages load at once when `webPreview` says so; without it only on request.
    explicit PreviewViewController(const BooleanSetting* webPreview, QWidget* parent = nullptr);
    ~PreviewViewController() override;

    // Shows the item; none leaves the pane blank.
    void setPreviewContent(const PBContentPtr& item);

    // The display views, each made on first use. The text view is its own scroll area.
    WebPreviewView* webView();
    DocumentPreviewView* previewView();
    TextPreviewView* textView();

signals:
    // The view for the item last set is showing (a web page may still be loading).
    void previewShown();

private:
    void hideViews();
    void showWebPage(const PBContentPtr& item);
    void showFormattedText(const PBContentPtr& item);
    void showDocument(const PBContentPtr& item);

    const BooleanSetting* m_webPreview;
    QVBoxLayout* m_layout;
    WebPreviewView* m_webView = nullptr;
    DocumentPreviewView* m_previewView = nullptr;
    TextPreviewView* m_textView = nullptr;
    quint64 m_generation = 0;
};
