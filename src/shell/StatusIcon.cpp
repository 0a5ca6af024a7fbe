#include "shell/StatusIcon.h"

#include "shell/StatusIconEngine.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace {

// The shape of the tray image filled in one colour, `size` pixels square.
QImage shapeIn(int size, const QColor& color)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QIcon(QStringLiteral(":/icons/state_bar_icon.svg")).paint(&painter, image.rect());
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    return image;
}

// Two bars on a disc, in the lower right quarter and a little beyond.
void paintPauseBadge(QPainter& painter, int size, const QColor& foreground, const QColor& halo)
{
    const qreal badge = size * 0.55;
    const QRectF disc(size - badge, size - badge, badge, badge);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(disc);
    painter.setBrush(foreground);
    painter.drawEllipse(disc.adjusted(badge * 0.1, badge * 0.1, -badge * 0.1, -badge * 0.1));
    const qreal barWidth = badge * 0.14;
    const qreal barHeight = badge * 0.42;
    const qreal top = disc.center().y() - barHeight / 2;
    painter.setBrush(halo);
    painter.drawRect(QRectF(disc.center().x() - barWidth * 1.5, top, barWidth, barHeight));
    painter.drawRect(QRectF(disc.center().x() + barWidth * 0.5, top, barWidth, barHeight));
}

} // namespace

const QList<int>& StatusIcon::sizes()
{
    static const QList<int> drawn{16, 22, 24, 32, 44, 48, 64, 96, 128};
    return drawn;
}

QImage StatusIcon::image(int size, const QColor& foreground, const QColor& halo, bool paused)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // The halo: the shape shifted a pixel each way (more on large sizes), under the shape.
    const int reach = std::max(1, size / 22);
    const QImage haloShape = shapeIn(size, halo);
    for (int dx = -reach; dx <= reach; ++dx) {
        for (int dy = -reach; dy <= reach; ++dy)
            painter.drawImage(QPoint(dx, dy), haloShape);
    }
    painter.drawImage(QPoint(), shapeIn(size, foreground));
    if (paused)
        paintPauseBadge(painter, size, foreground, halo);
    return image;
}

QIcon StatusIcon::icon(const QColor& foreground, const QColor& halo, bool paused)
{
    return QIcon(new StatusIconEngine(foreground, halo, paused));
}
