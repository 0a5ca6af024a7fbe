#pragma once

#include <QColor>
#include <QHash>
#include <QIconEngine>
#include <QPixmap>

// Draws the tray icon's pictures (StatusIcon::image) only at the sizes asked for, each once: a
// tray shows one size, and drawing all of them up front held up the start-up.
class StatusIconEngine : public QIconEngine
{
public:
    StatusIconEngine(const QColor& foreground, const QColor& halo, bool paused);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    // The smallest drawn size that covers `size` (else the largest), scaled down to fit it.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    const QPixmap& drawn(int size);

    QColor m_foreground;
    QColor m_halo;
    bool m_paused;
    QHash<int, QPixmap> m_drawn;
};
