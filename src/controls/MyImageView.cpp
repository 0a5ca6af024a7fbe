#include "controls/MyImageView.h"

#include "controls/TemplateImage.h"

#include <QPainter>

MyImageView::MyImageView(QWidget* parent) : QWidget(parent) {}

void MyImageView::setImage(const QIcon& image)
{
    m_image = image;
    update();
}

QSize MyImageView::sizeHint() const
{
    return QSize(24, 24);
}

void MyImageView::paintEvent(QPaintEvent* /*event*/)
{
    if (m_image.isNull())
        return;
    const int side = qMin(width(), height());
    QRect target(0, 0, side, side);
    target.moveCenter(rect().center());
    QPainter painter(this);
    painter.drawPixmap(target, TemplateImage::pixmap(m_image, target.size(), devicePixelRatioF(),
                                                     TemplateImage::color(palette())));
}
