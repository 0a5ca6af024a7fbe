#include "browser/ImagePreviewView.h"

#include <QPainter>

ImagePreviewView::ImagePreviewView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Image preview"));
}

void ImagePreviewView::setImage(const QImage& image, QSize fullSize)
{
    m_image = image;
    m_fullSize = fullSize.isValid() ? fullSize : image.size();
    update();
}

void ImagePreviewView::clear()
{
    setImage(QImage(), QSize());
}

QSize ImagePreviewView::fitSize(QSize size) const
{
    return (QSizeF(size) * devicePixelRatioF()).toSize();
}

bool ImagePreviewView::wantsLargerImage() const
{
    if (m_image.isNull() || m_image.size() == m_fullSize)
        return false;
    const QSize wanted = m_fullSize.scaled(fitSize(size()), Qt::KeepAspectRatio);
    return wanted.width() > m_image.width() || wanted.height() > m_image.height();
}

QRectF ImagePreviewView::targetRect() const
{
    const qreal ratio = devicePixelRatioF();
    const QSizeF natural = QSizeF(m_fullSize) / ratio;
    QSizeF shown = natural;
    if (shown.width() > width() || shown.height() > height())
        shown = natural.scaled(QSizeF(size()), Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void ImagePreviewView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(targetRect(), m_image);
}
