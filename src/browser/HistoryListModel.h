#pragma once

#include "item/PBContent.h"
#include "storage/DBManager.h"
#include "storage/ResultRows.h"

#include <QAbstractListModel>

class RowArtworkCache;
struct RowArtwork;

// The rows of one history list. A category the store keeps is its list, read in place (an item's
// object made when its row is asked for) and followed change by change as the store announces
// them; the search list holds the results for its keyword and drops what the store deletes; any
// other number is a list that never fills. The ascending order reads the list from its end, so
// nothing is ever sorted or copied.
class HistoryListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role { TimeRole = Qt::UserRole + 1 };

    HistoryListModel(Category fetchCategory, DBManager& store, RowArtworkCache& artwork,
                     QObject* parent = nullptr);

    Category fetchCategory() const { return m_category; }
    int rowCount(const QModelIndex& parent = {}) const override;
    // The description as one line (display, accessible text) and the capture time (TimeRole,
    // accessible description).
    QVariant data(const QModelIndex& index, int role) const override;

    // The item shown in a row, or nullptr for a row outside the list.
    PBContentPtr contentWithRow(int row) const;
    // Whether any item listed is marked.
    bool anyMarked() const;
    // The row showing the item with this uuid, or an invalid index.
    QModelIndex indexOfUuid(const QString& uuid) const;
    // The row's artwork, or nullptr until it is made (the cache tells when).
    const RowArtwork* artwork(const QModelIndex& index) const;
    RowArtworkCache& artworkCache() const { return m_artwork; }

    // Whether the oldest item comes first.
    bool asc() const { return m_asc; }
    void setAsc(bool asc);

    // Search list only: shows the results for the text, newest first, as they are found (the
    // earlier text's stay until the first of them come); an empty text empties the list at once.
    // Results that come in for an earlier text are dropped.
    void setKeyword(const QString& keyword);
    QString keyword() const { return m_keyword; }

private:
    // The number of items listed: the store's list's, or the results'.
    qsizetype length() const;
    int rowOfIndex(qsizetype index, qsizetype size) const;
    bool follows(Category category) const { return category == m_category; }
    void connectToStore();
    void storeAboutToInsert(Category category);
    void storeAboutToRemove(Category category, qsizetype index);
    void itemsDeleted(const QList<PBContentPtr>& items);
    void markChanged(const PBContentPtr& item);
    void showResults(const QList<ListedRow>& results);
    void appendResults(const QList<ListedRow>& results);
    const PackedList& recents() const { return m_store.list(Category::Recents); }
    void resultsFound(quint64 generation, const QList<ListedRow>& batch, bool last);
    // The results as the lists hold their rows now that the lists were replaced; those no longer
    // listed are dropped.
    void relistResults();
    QString description(const PBContent& item) const;
    static QString oneLine(const QString& text, const QString& keyword);

    Category m_category;
    DBManager& m_store;
    RowArtworkCache& m_artwork;
    bool m_asc = false;
    QString m_keyword;
    quint64 m_searchGeneration = 0;
    // The search whose results are shown (the rest of them are appended as they come).
    quint64 m_shownGeneration = 0;
    // The rows found, each made an object only when it is asked for.
    ResultRows m_results;
};
