#include "browser/EmptyView.h"

#include <QLabel>
#include <QVBoxLayout>

EmptyView::EmptyView(QWidget* parent)
    : QWidget(parent), m_titleLabel(new QLabel(this)),
      m_hintLabel(new QLabel(tr("Vantrel will capture items automatically"), this))
{
    setObjectName(QStringLiteral("emptyView"));
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_hintLabel->setObjectName(QStringLiteral("hintLabel"));

    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    m_titleLabel->setFont(titleFont);
    m_hintLabel->setForegroundRole(QPalette::PlaceholderText);
    m_hintLabel->setWordWrap(true);
    for (QLabel* label : {m_titleLabel, m_hintLabel})
        label->setAlignment(Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_hintLabel);
    layout->addStretch();
    updateTitle();
}

void EmptyView::setForSearch(bool forSearch)
{
    m_forSearch = forSearch;
    updateTitle();
}

void EmptyView::updateTitle()
{
    m_titleLabel->setText(m_forSearch ? tr("No Result") : tr("No Record"));
}
