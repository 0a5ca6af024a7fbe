#include "browser/EmptyView.h"

#include <QFontInfo>
#include <QLabel>
#include <QVBoxLayout>

EmptyView::EmptyView(QWidget* parent)
    : QWidget(parent), m_titleLabel(new QLabel(this)), m_hintLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("emptyView"));
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_hintLabel->setObjectName(QStringLiteral("hintLabel"));

    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(QFontInfo(titleFont).pointSizeF() * 1.5);
    m_titleLabel->setFont(titleFont);
    m_hintLabel->setForegroundRole(QPalette::PlaceholderText);
    m_hintLabel->setWordWrap(true);
    // The hint may quote what the user typed, which is never markup.
    m_hintLabel->setTextFormat(Qt::PlainText);
    for (QLabel* label : {m_titleLabel, m_hintLabel})
        label->setAlignment(Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(m_titleLabel);
    layout->addWidget(m_hintLabel);
    layout->addStretch();
    updateTexts();
}

void EmptyView::setForSearch(bool forSearch)
{
    m_forSearch = forSearch;
    updateTexts();
}

void EmptyView::setKeyword(const QString& keyword)
{
    m_keyword = keyword;
    updateTexts();
}

void EmptyView::updateTexts()
{
    m_titleLabel->setText(m_forSearch ? tr("No Result") : tr("No Record"));
    if (!m_forSearch)
        m_hintLabel->setText(tr("Vantrel will capture items automatically"));
    else if (m_keyword.isEmpty())
        m_hintLabel->setText(tr("Type in the search field to search the whole history"));
    else
        m_hintLabel->setText(tr("Nothing in the history matches \u201c%1\u201d").arg(m_keyword));
}
