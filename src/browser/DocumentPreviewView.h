#pragma once

#include "browser/PreparedPreview.h"
#include "item/PBContent.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class FileInfoView;
class ImagePreviewView;
class QPdfDocument;
class QPdfView;
class QStackedLayout;
class TextPreviewView;

// The document preview: the file at an item's preview address as a picture scaled to fit, a
// PDF, text, or failing those the file's icon, name, size and type. What to show is worked out
// on a pool thread; a result that arrives for an item no longer shown is dropped.
class DocumentPreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit DocumentPreviewView(QWidget* parent = nullptr);
    ~DocumentPreviewView() override;

    // Shows the item's file (none: a blank view). The view stays blank until it is prepared.
    void setPreviewItem(const PBContentPtr& item);

signals:
    // The preview of the item last set is showing.
    void previewReady();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void prepare();
    void showPrepared(PreparedPreview prepared);
    void showFileInfo(const PreparedPreview& prepared);
    void showPdf(std::shared_ptr<QPdfDocument> document);
    void setupPdfView();

    QStackedLayout* m_pages;
    QWidget* m_blank;
    ImagePreviewView* m_image;
    TextPreviewView* m_text;
    FileInfoView* m_fileInfo;
    QPdfView* m_pdf = nullptr;
    std::shared_ptr<QPdfDocument> m_pdfDocument;
    QString m_path;
    quint64 m_generation = 0;
    // A larger picture is decoded once resizing has paused.
    QTimer m_redecode;
};
