#include "shell/StatusIconEngine.h"

#include "shell/StatusIcon.h"

#include <QPainter>
#include <algorithm>

StatusIconEngine::StatusIconEngine(const QColor& foreground, const QColor& halo, bool paused)
    : m_foreground(foreground), m_halo(halo), m_paused(paused)
{}

const QPixmap& StatusIconEngine::drawn(int size)
{
    auto found = m_drawn.find(size);
    if (found == m_drawn.end())
        found = m_drawn.insert(
            size, QPixmap::fromImage(StatusIcon::image(size, m_foreground, m_halo, m_paused)));
    return *found;
}

QPixmap StatusIconEngine::pixmap(const QSize& size, QIcon::Mode, QIcon::State)
{
    const QList<int>& sizes = StatusIcon::sizes();
    const int wanted = std::max(size.width(), size.height());
    const auto covering = std::find_if(sizes.begin(), sizes.end(),
                                       [wanted](int drawnSize) { return drawnSize >= wanted; });
    const QPixmap& picture = drawn(covering == sizes.end() ? sizes.last() : *covering);
    if (picture.width() <= size.width() && picture.height() <= size.height())
        return picture;
    return picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void StatusIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                             QIcon::State state)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap picture = pixmap(rect.size() * ratio, mode, state);
    picture.setDevicePixelRatio(ratio);
    const QSize shown = picture.deviceIndependentSize().toSize();
    painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                      (rect.height() - shown.height()) / 2),
                              shown),
                        picture);
}

QList<QSize> StatusIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    QList<QSize> available;
    for (int size : StatusIcon::sizes())
        available.append(QSize(size, size));
    return available;
}

QIconEngine* StatusIconEngine::clone() const
{
    return new StatusIconEngine(*this);
}

QString StatusIconEngine::key() const
{
    return QStringLiteral("StatusIconEngine");
}
