#pragma once

#include <QImage>
#include <QWidget>

// A picture scaled to fit the view, centred, never drawn larger than its own size.
class ImagePreviewView : public QWidget
{
    Q_OBJECT

public:
    explicit ImagePreviewView(QWidget* parent = nullptr);

    // `image` is the decoded picture (possibly smaller than the original), `fullSize` the
    // original's size in pixels.
    void setImage(const QImage& image, QSize fullSize);
    void clear();
    const QImage& image() const { return m_image; }
    // Whether a decode at the view's present size would be sharper than what is shown.
    bool wantsLargerImage() const;
    // The largest picture worth decoding for a view of `size`, in device pixels.
    QSize fitSize(QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF targetRect() const;

    QImage m_image;
    QSize m_fullSize;
};
