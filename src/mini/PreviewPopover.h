#pragma once

#include <QFrame>
#include <QSize>

class PreviewViewController;
class QRect;

// A transient popup holding one item's preview, shown beside the window it previews for, on the
// side with room (narrowed to the room there when neither side has its full width), level with
// the anchor row, and always whole on the screen: it never covers the window's list. As any
// popup, a click anywhere outside it or Escape closes it.
class PreviewPopover : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewPopover(QWidget* parent = nullptr);

    // Takes the content in, once.
    void setContentViewController(PreviewViewController* content);
    void setContentSize(const QSize& size);

    // `window` (the frame of the window it belongs to) and `anchor` in global coordinates.
    void showBeside(const QRect& window, const QRect& anchor);
    // Where a popup of `size` goes beside `window`, level with `anchor`, on a screen whose free
    // area is `available`.
    static QRect placement(const QRect& window, const QRect& anchor, const QSize& size,
                           const QRect& available);
    // The narrowest it is made to fit beside a window; with less room it overlaps the window.
    static constexpr int minimumWidth = 280;

private:
    // The size asked for; a narrowed popup has it back at its next showing.
    QSize m_contentSize;
};
