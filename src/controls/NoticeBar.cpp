#include "controls/NoticeBar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

NoticeBar::NoticeBar(QWidget* parent)
    : QFrame(parent), m_label(new QLabel(this)), m_actionButton(new QPushButton(this)),
      m_closeButton(new QToolButton(this))
{
    setObjectName(QStringLiteral("noticeBar"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    m_label->setObjectName(QStringLiteral("noticeText"));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_actionButton->setObjectName(QStringLiteral("noticeAction"));
    m_actionButton->hide();
    m_closeButton->setObjectName(QStringLiteral("noticeClose"));
    m_closeButton->setAutoRaise(true);
    m_closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_closeButton->setToolTip(tr("Dismiss"));
    m_closeButton->setAccessibleName(tr("Dismiss"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 8, 8);
    layout->setSpacing(12);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_actionButton, 0, Qt::AlignVCenter);
    layout->addWidget(m_closeButton, 0, Qt::AlignTop);

    connect(m_actionButton, &QPushButton::clicked, this, &NoticeBar::actionTriggered);
    connect(m_closeButton, &QToolButton::clicked, this, [this] {
        hide();
        emit dismissed();
    });
    updateColors();
    hide();
}

QString NoticeBar::text() const
{
    return m_label->text();
}

void NoticeBar::setText(const QString& text)
{
    m_label->setText(text);
    setAccessibleDescription(text);
}

void NoticeBar::setActionText(const QString& text)
{
    m_actionButton->setText(text);
    m_actionButton->setAccessibleName(text);
    m_actionButton->setVisible(!text.isEmpty());
}

void NoticeBar::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        updateColors();
}

// A line of the palette's mid colour under the band parts it from the next one.
void NoticeBar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

// The alternate base colour sets the band apart from the window in light and dark themes.
void NoticeBar::updateColors()
{
    QPalette colors = palette();
    const QPalette base = parentWidget() ? parentWidget()->palette() : palette();
    colors.setColor(QPalette::Window, base.color(QPalette::AlternateBase));
    colors.setColor(QPalette::WindowText, base.color(QPalette::Text));
    if (colors != palette())
        setPalette(colors);
}
