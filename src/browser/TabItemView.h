#pragma once

#include <QIcon>
#include <QWidget>
#include <functional>

class QLabel;

// One entry of the main window's tab bar: an icon, a title and the number of items of its
// category, over a selection highlight when it is the chosen tab. It only shows what it is told;
// which tab is selected is decided by the window, through the click action run on every press.
// Sizes are in device-independent pixels (the points of the layout).
class TabItemView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int iconSize = 20;
    static constexpr int iconLeft = 10;
    static constexpr int titleLeft = 40;
    static constexpr int titleWidth = 120;
    static constexpr int titleHeight = 20;
    static constexpr int countRight = 10;
    static constexpr int titlePixels = 16;
    static constexpr int countPixels = 14;
    // Narrower than this, the tab shows its icon alone.
    static constexpr int collapsedWidth = 100;

    explicit TabItemView(QWidget* parent = nullptr);

    // The icon's shape, drawn as a template image in the palette's text colour (highlighted text
    // while selected).
    QIcon icon() const { return m_icon; }
    void setIcon(const QIcon& icon);

    QString title() const { return m_title; }
    void setTitle(const QString& title);

    // Shown in plain digits, without grouping: 1234.
    qint64 count() const { return m_count; }
    void setCount(qint64 count);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);

    void setClickBlock(std::function<void()> block);

    // The contents, each made on first use above the highlight.
    QLabel* imageView();
    QLabel* textField();
    QLabel* countField();
    // The background that shows the tab as selected.
    QWidget* effectView();

    QSize sizeHint() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* makeLabel(const QString& name, int pixelSize, Qt::Alignment alignment);
    void layoutContents();
    void updateColors();

    QIcon m_icon;
    QString m_title;
    qint64 m_count = 0;
    bool m_selected = false;
    std::function<void()> m_clickBlock;
    QLabel* m_imageView = nullptr;
    QLabel* m_textField = nullptr;
    QLabel* m_countField = nullptr;
    QWidget* m_effectView = nullptr;
};
