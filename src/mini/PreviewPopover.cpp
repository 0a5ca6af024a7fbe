#include "mini/PreviewPopover.h"

#include "browser/PreviewViewController.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

PreviewPopover::PreviewPopover(QWidget* parent) : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("previewPopover"));
    setAccessibleName(tr("Preview"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
}

void PreviewPopover::setContentViewController(PreviewViewController* content)
{
    layout()->addWidget(content);
}

void PreviewPopover::setContentSize(const QSize& size)
{
    m_contentSize = size;
    resize(size);
}

void PreviewPopover::showBeside(const QRect& window, const QRect& anchor)
{
    QScreen* screen = QGuiApplication::screenAt(window.center());
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    setGeometry(placement(window, anchor, m_contentSize, screen->availableGeometry()));
    show();
    activateWindow();
}

QRect PreviewPopover::placement(const QRect& window, const QRect& anchor, const QSize& size,
                                const QRect& available)
{
    const int roomRight = available.right() - window.right();
    const int roomLeft = window.left() - available.left();
    const bool right = roomRight >= size.width() || roomRight >= roomLeft;
    const int room = right ? roomRight : roomLeft;
    QRect frame(QPoint(), size.boundedTo(available.size()));
    if (room < frame.width() && room >= minimumWidth)
        frame.setWidth(room);
    if (right)
        frame.moveLeft(window.right() + 1);
    else
        frame.moveRight(window.left() - 1);
    frame.moveTop(anchor.top());
    frame.moveLeft(
        std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(
        std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return frame;
}
