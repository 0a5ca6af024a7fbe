#pragma once

#include <QFrame>

class PreviewViewController;
class QRect;

// A transient popup holding one item's preview, shown beside an anchor: below it where the screen
// has room, else above, and always whole on the screen. As any popup, a click anywhere outside
// it or Escape closes it.
class PreviewPopover : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewPopover(QWidget* parent = nullptr);

    // Takes the content in, once.
    void setContentViewController(PreviewViewController* content);
    void setContentSize(const QSize& size);

    // `anchor` in global coordinates.
    void showRelativeToRect(const QRect& anchor);
    // Where a popup of `size` goes beside `anchor` on a screen whose free area is `available`.
    static QRect placement(const QRect& anchor, const QSize& size, const QRect& available);
};
