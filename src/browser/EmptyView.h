#pragma once

#include <QWidget>

class QLabel;

// What a history list shows instead of its rows while it has none: a title and a hint, centred.
class EmptyView : public QWidget
{
    Q_OBJECT

public:
    explicit EmptyView(QWidget* parent = nullptr);

    // Whether the view says that a search found nothing rather than that the history is empty.
    bool forSearch() const { return m_forSearch; }
    // A search-results list says that nothing was found rather than that nothing was recorded.
    void setForSearch(bool forSearch);
    // The text searched for, which a search-results list's hint names.
    void setKeyword(const QString& keyword);

private:
    void updateTexts();

    QLabel* m_titleLabel;
    QLabel* m_hintLabel;
    bool m_forSearch = false;
    QString m_keyword;
};
