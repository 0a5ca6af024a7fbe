#include "browser/TabItemView.h"

#include "browser/RowColors.h"
#include "controls/TemplateImage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace {

// A tab reads as a page tab: its title as the name, its count as the description.
class TabItemAccessible : public QAccessibleWidget
{
public:
    explicit TabItemAccessible(TabItemView* tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = static_cast<const TabItemView*>(widget())->isSelected();
        return state;
    }
};

QAccessibleInterface* tabItemAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1StringView(TabItemView::staticMetaObject.className()) &&
        object->isWidgetType())
        return new TabItemAccessible(static_cast<TabItemView*>(object));
    return nullptr;
}

} // namespace

TabItemView::TabItemView(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(tabItemAccessible), true);
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleDescription(QString::number(m_count));
}

void TabItemView::setIcon(const QIcon& icon)
{
    m_icon = icon;
    updateColors();
}

void TabItemView::setTitle(const QString& title)
{
    m_title = title;
    textField()->setText(title);
    setAccessibleName(title);
}

void TabItemView::setCount(qint64 count)
{
    m_count = count;
    countField()->setText(QString::number(count));
    countField()->adjustSize();
    setAccessibleDescription(countField()->text());
    layoutContents();
}

void TabItemView::setSelected(bool selected)
{
    const bool changed = selected != m_selected;
    m_selected = selected;
    effectView()->setVisible(selected);
    if (!changed)
        return;
    updateColors();
    QAccessible::State state;
    state.selected = true;
    QAccessibleStateChangeEvent event(this, state);
    QAccessible::updateAccessibility(&event);
}

void TabItemView::setClickBlock(std::function<void()> block)
{
    m_clickBlock = std::move(block);
}

QWidget* TabItemView::effectView()
{
    if (!m_effectView) {
        m_effectView = new QWidget(this);
        m_effectView->setObjectName(QStringLiteral("effectView"));
        m_effectView->setBackgroundRole(QPalette::Highlight);
        m_effectView->setAutoFillBackground(true);
        m_effectView->setGeometry(rect());
        m_effectView->lower();
        m_effectView->hide();
    }
    return m_effectView;
}

// Every content view is made after the highlight, so the highlight stays beneath them all.
QLabel* TabItemView::makeLabel(const QString& name, int pixelSize, Qt::Alignment alignment)
{
    effectView();
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (pixelSize > 0) {
        QFont font = label->font();
        font.setPixelSize(pixelSize);
        label->setFont(font);
    }
    label->show();
    return label;
}

QLabel* TabItemView::imageView()
{
    if (!m_imageView) {
        m_imageView = makeLabel(QStringLiteral("imageView"), 0, Qt::AlignHCenter);
        layoutContents();
    }
    return m_imageView;
}

QLabel* TabItemView::textField()
{
    if (!m_textField) {
        m_textField = makeLabel(QStringLiteral("textField"), titlePixels, Qt::AlignLeft);
        updateColors();
        layoutContents();
    }
    return m_textField;
}

QLabel* TabItemView::countField()
{
    if (!m_countField) {
        m_countField = makeLabel(QStringLiteral("countField"), countPixels, Qt::AlignRight);
        updateColors();
        layoutContents();
    }
    return m_countField;
}

QSize TabItemView::sizeHint() const
{
    return {190, 36};
}

// The press is the tab's: left to fall through, it would reach the background beneath and
// start a window move.
void TabItemView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (m_clickBlock)
        m_clickBlock();
}

void TabItemView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutContents();
}

void TabItemView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateColors();
}

// Too narrow for its title, the tab shows its icon alone, centred; the title and the count then
// show as its tooltip.
void TabItemView::layoutContents()
{
    const int middle = height() / 2;
    const bool iconOnly = width() < collapsedWidth;
    if (m_effectView)
        m_effectView->setGeometry(rect());
    if (m_imageView)
        m_imageView->setGeometry(iconOnly ? (width() - iconSize) / 2 : iconLeft,
                                 middle - iconSize / 2, iconSize, iconSize);
    for (QLabel* label : {m_textField, m_countField}) {
        if (label)
            label->setHidden(iconOnly);
    }
    setToolTip(iconOnly ? QStringLiteral("%1 (%2)").arg(m_title).arg(m_count) : QString());
    if (m_textField)
        m_textField->setGeometry(titleLeft, middle - titleHeight / 2, titleWidth, titleHeight);
    if (m_countField) {
        const QSize size = m_countField->sizeHint();
        m_countField->setGeometry(width() - countRight - size.width(), middle - size.height() / 2,
                                  size.width(), size.height());
    }
}

// The selected tab stands on the highlight colour, so its contents take the highlighted text.
void TabItemView::updateColors()
{
    const QColor text = TemplateImage::color(palette(), m_selected);
    if (!m_icon.isNull())
        imageView()->setPixmap(
            TemplateImage::pixmap(m_icon, QSize(iconSize, iconSize), devicePixelRatioF(), text));
    const auto setColor = [](QLabel* label, const QColor& color) {
        if (!label)
            return;
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    };
    setColor(m_textField, text);
    setColor(m_countField,
             m_selected ? text : RowColors::secondaryText(palette(), QPalette::Window));
}
