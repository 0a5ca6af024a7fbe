#include "browser/HistoryListModel.h"

#include "browser/RowArtwork.h"
#include "browser/RowArtworkCache.h"
#include "browser/SearchMatch.h"
#include "item/ContentDetails.h"
#include "support/StringAdditions.h"

#include <QSet>
#include <algorithm>
#include <optional>

namespace {
// A description longer than any row can show is cut before it is laid out: a copied megabyte of
// text must not be measured on every paint.
constexpr qsizetype longestLine = 300;
// A search result's line starts this many characters before a match that lies further in.
constexpr qsizetype matchContext = 60;
// How far into a description a match is looked for, on every paint of the row: as far as it is
// kept.
constexpr qsizetype matchSearchLimit = RowArtwork::descriptionLimit;
} // namespace

HistoryListModel::HistoryListModel(Category fetchCategory, DBManager& store,
                                   RowArtworkCache& artwork, QObject* parent)
    : QAbstractListModel(parent), m_category(fetchCategory), m_store(store), m_artwork(artwork)
{
    if (isStoreList(m_category) || m_category == Category::Search)
        connectToStore();
}

void HistoryListModel::connectToStore()
{
    if (isStoreList(m_category)) {
        connect(&m_store, &DBManager::itemAboutToBeInserted, this,
                &HistoryListModel::storeAboutToInsert);
        connect(&m_store, &DBManager::itemInserted, this, [this](Category category) {
            if (follows(category))
                endInsertRows();
        });
        connect(&m_store, &DBManager::itemAboutToBeRemoved, this,
                &HistoryListModel::storeAboutToRemove);
        connect(&m_store, &DBManager::itemRemoved, this, [this](Category category) {
            if (follows(category))
                endRemoveRows();
        });
        connect(&m_store, &DBManager::listsAboutToBeReplaced, this,
                &HistoryListModel::beginResetModel);
        connect(&m_store, &DBManager::listsReplaced, this, &HistoryListModel::endResetModel);
    } else {
        connect(&m_store, &DBManager::itemsDeleted, this, &HistoryListModel::itemsDeleted);
        connect(&m_store, &DBManager::listsReplaced, this, &HistoryListModel::relistResults);
    }
    connect(&m_store, &DBManager::markChanged, this, &HistoryListModel::markChanged);
}

qsizetype HistoryListModel::length() const
{
    return isStoreList(m_category) ? m_store.listLength(m_category) : m_results.size();
}

int HistoryListModel::rowOfIndex(qsizetype index, qsizetype size) const
{
    return int(m_asc ? size - 1 - index : index);
}

int HistoryListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(length());
}

PBContentPtr HistoryListModel::contentWithRow(int row) const
{
    const qsizetype size = length();
    const qsizetype index = rowOfIndex(row, size);
    if (row < 0 || index < 0 || index >= size)
        return nullptr;
    if (isStoreList(m_category))
        return m_store.itemAt(m_category, index);
    const std::optional<ListedRow> found = m_results.at(index, recents());
    return found ? m_store.objectFor(*found) : nullptr;
}

// A store's list tells the marks of its rows without making an object for each.
bool HistoryListModel::anyMarked() const
{
    if (!isStoreList(m_category)) {
        for (qsizetype i = 0; i < m_results.size(); ++i) {
            const std::optional<ListedRow> row = m_results.at(i, recents());
            if (row && row->marked)
                return true;
        }
        return false;
    }
    for (qsizetype i = 0; i < length(); ++i) {
        if (m_store.isMarkedAt(m_category, i))
            return true;
    }
    return false;
}

QModelIndex HistoryListModel::indexOfUuid(const QString& uuid) const
{
    const ItemUuid wanted = ItemUuid::fromString(uuid);
    qsizetype found = -1;
    if (isStoreList(m_category)) {
        found = m_store.indexOfUuid(m_category, wanted);
    } else {
        for (qsizetype i = 0; found < 0 && i < m_results.size(); ++i) {
            const std::optional<ListedRow> row = m_results.at(i, recents());
            found = row && m_store.uuidOf(*row) == wanted ? i : -1;
        }
    }
    return found < 0 ? QModelIndex() : index(rowOfIndex(found, length()));
}

QVariant HistoryListModel::data(const QModelIndex& index, int role) const
{
    const PBContentPtr item = checkIndex(index) ? contentWithRow(index.row()) : nullptr;
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return description(*item);
    case TimeRole:
    case Qt::AccessibleDescriptionRole:
        return StringAdditions::stringWithDate(item->date);
    default:
        return {};
    }
}

// The description is the artwork's, made off the GUI thread and kept within the artwork's budget;
// until it is made, a text's comes from its details when they are in memory already, and
// otherwise the row shows none (the view repaints once the artwork is there).
QString HistoryListModel::description(const PBContent& item) const
{
    if (const RowArtwork* made = m_artwork.find(item))
        return oneLine(made->description, m_keyword);
    if (item.type() != PBContentTypeText && item.type() != PBContentTypeURL)
        return QString();
    const std::shared_ptr<const ContentDetails> details = item.detailsAtHand();
    return details ? oneLine(RowArtwork::textDescription(item.type(), *details), m_keyword)
                   : QString();
}

// A result whose match lies beyond the part a row is given starts shortly before the match, so
// the row can show why it was found.
QString HistoryListModel::oneLine(const QString& text, const QString& keyword)
{
    const auto match =
        keyword.isEmpty() ? std::nullopt : SearchMatch::first(text, keyword, matchSearchLimit);
    if (!match || match->start + match->length <= longestLine - matchContext)
        return text.left(longestLine).simplified();
    qsizetype start = std::max<qsizetype>(0, match->start - matchContext);
    if (start == 0)
        return text.left(longestLine).simplified();
    if (text.at(start).isLowSurrogate())
        --start;
    return QChar(0x2026) + text.mid(start, longestLine).simplified();
}

const RowArtwork* HistoryListModel::artwork(const QModelIndex& index) const
{
    const PBContentPtr item = contentWithRow(index.row());
    return item ? m_artwork.find(*item) : nullptr;
}

void HistoryListModel::setAsc(bool asc)
{
    if (asc == m_asc)
        return;
    beginResetModel();
    m_asc = asc;
    endResetModel();
}

void HistoryListModel::storeAboutToInsert(Category category)
{
    if (!follows(category))
        return;
    const int row = m_asc ? rowCount() : 0;
    beginInsertRows({}, row, row);
}

void HistoryListModel::storeAboutToRemove(Category category, qsizetype index)
{
    if (!follows(category))
        return;
    const int row = rowOfIndex(index, length());
    beginRemoveRows({}, row, row);
}

void HistoryListModel::setKeyword(const QString& keyword)
{
    if (m_category != Category::Search)
        return;
    m_keyword = keyword;
    const quint64 generation = ++m_searchGeneration;
    if (keyword.isEmpty()) {
        m_store.stopSearch(this);
        m_shownGeneration = generation;
        showResults({});
        return;
    }
    m_store.streamSearch(keyword, this,
                         [this, generation](const QList<ListedRow>& batch, bool last) {
                             resultsFound(generation, batch, last);
                         });
}

// The first batch replaces what the list showed, so the list never blinks empty while typing.
// Once all are in, the results give back the room they grew into.
void HistoryListModel::resultsFound(quint64 generation, const QList<ListedRow>& batch, bool last)
{
    if (generation != m_searchGeneration)
        return;
    if (m_shownGeneration != generation) {
        m_shownGeneration = generation;
        showResults(batch);
    } else {
        appendResults(batch);
    }
    if (last)
        m_results.squeeze();
}

void HistoryListModel::showResults(const QList<ListedRow>& results)
{
    beginResetModel();
    m_results.clear();
    m_results.append(results, recents());
    endResetModel();
}

// Older than every row shown: at the end of the list, or at its start in ascending order.
void HistoryListModel::appendResults(const QList<ListedRow>& results)
{
    if (results.isEmpty())
        return;
    const int first = m_asc ? 0 : int(m_results.size());
    beginInsertRows({}, first, first + int(results.size()) - 1);
    m_results.append(results, recents());
    endInsertRows();
}

// A deletion made anywhere reaches the results by uuid; a result whose row has gone from Recents
// is one of those deleted.
void HistoryListModel::itemsDeleted(const QList<PBContentPtr>& items)
{
    QSet<ItemUuid> deleted;
    QSet<double> dates;
    for (const PBContentPtr& item : items) {
        deleted.insert(item->itemUuid());
        dates.insert(item->date);
    }
    for (qsizetype i = m_results.size() - 1; i >= 0; --i) {
        if (!dates.contains(m_results.dateAt(i)))
            continue;
        const std::optional<ListedRow> row = m_results.at(i, recents());
        if (row && !deleted.contains(m_store.uuidOf(*row)))
            continue;
        const int shown = rowOfIndex(i, m_results.size());
        beginRemoveRows({}, shown, shown);
        m_results.removeAt(i);
        endRemoveRows();
    }
}

void HistoryListModel::relistResults()
{
    beginResetModel();
    m_results.relist(recents());
    endResetModel();
}

// Results read their marks from Recents; only a row found before Recents listed it carries its
// own.
void HistoryListModel::markChanged(const PBContentPtr& item)
{
    if (!isStoreList(m_category)) {
        const ItemUuid uuid = item->itemUuid();
        m_results.changeUnlisted([this, &uuid, marked = item->marked](ListedRow& row) {
            if (m_store.uuidOf(row) == uuid)
                row.marked = marked;
        });
    }
    // The store's own object already carries the mark; which row shows it does not matter to a
    // repaint of the rows on screen.
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}
