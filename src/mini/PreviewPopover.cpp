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
    resize(size);
}

void PreviewPopover::showRelativeToRect(const QRect& anchor)
{
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    setGeometry(placement(anchor, size(), screen->availableGeometry()));
    show();
    activateWindow();
}

QRect PreviewPopover::placement(const QRect& anchor, const QSize& size, const QRect& available)
{
    QRect frame(QPoint(), size.boundedTo(available.size()));
    frame.moveLeft(anchor.center().x() - frame.width() / 2);
    const bool roomBelow = anchor.bottom() + frame.height() <= available.bottom();
    const bool roomAbove = anchor.top() - frame.height() >= available.top();
    if (roomBelow || !roomAbove)
        frame.moveTop(anchor.bottom() + 1);
    else
        frame.moveBottom(anchor.top() - 1);
    frame.moveLeft(
        std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(
        std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return frame;
}
