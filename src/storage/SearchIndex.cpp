#include "storage/SearchIndex.h"

#include "support/Logging.h"
#include "support/SerialQueue.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QFile>
#include <QSet>
#include <QStringList>
#include <algorithm>

namespace {
// Rows added to the index per block of the database queue: a few tens of milliseconds, so a
// capture waiting behind a batch is not held up noticeably.
constexpr qint64 batchRows = 5000;
// A long search text needs only some of its trigrams to narrow the rows down; LIKE decides.
constexpr qsizetype maxTrigrams = 12;
// Up to this many candidates are sorted by date in a few milliseconds. A text with more (a
// common word) walks the rows newest first instead, as a short one does, so that its first
// results come at once rather than after every candidate was sorted.
constexpr qint64 maxSortedCandidates = 10000;

// Without the index, the rows are read newest first and LIKE tried on each, so the first results
// come at once and the rest follow: straight through the table from its end where the rowids are
// in date order (the usual case, twice as fast), otherwise by the date index, each row looked up
// from it. The index's candidates are few; they are read in the order of their rows and sorted
// by the caller (a sort by SQLite would copy every column of them once more). Where rowids are
// in date order, every statement reads only the ids of the rows it keeps: the lists have the
// rest.
const char* const plainSearchSql = "SELECT rowid, uuid, date, type, marked FROM pb_items "
                                   "WHERE keyword LIKE '%' || ? || '%' ORDER BY date DESC";
const char* const plainIdsSql =
    "SELECT rowid FROM pb_items WHERE keyword LIKE '%' || ? || '%' ORDER BY rowid DESC";
const char* const indexedSearchSql =
    "SELECT rowid, uuid, date, type, marked FROM pb_items WHERE rowid IN (SELECT rowid FROM "
    "pb_search WHERE pb_search MATCH ?) AND keyword LIKE '%' || ? || '%'";
const char* const indexedIdsSql =
    "SELECT rowid FROM pb_search WHERE pb_search MATCH ? ORDER BY rowid DESC";
const char* const checkedIdsSql =
    "SELECT rowid FROM pb_items WHERE rowid IN (SELECT rowid FROM pb_search WHERE pb_search "
    "MATCH ?) AND keyword LIKE '%' || ? || '%' ORDER BY rowid DESC";
const char* const rowCheckSql =
    "SELECT 1 FROM pb_items WHERE rowid = ? AND keyword LIKE '%' || ? || '%'";
const char* const candidatesSql =
    "SELECT count(*) AS n FROM (SELECT 1 FROM pb_search WHERE pb_search MATCH ? LIMIT ?)";
const char* const hasTableSql =
    "SELECT count(*) AS n FROM sqlite_schema WHERE type='table' AND name='pb_search'";
const char* const backlogSql = "SELECT up_to FROM pb_search_backlog";
const char* const indexBatchSql = "INSERT INTO pb_search (rowid, keyword) SELECT rowid, keyword "
                                  "FROM pb_items WHERE rowid > ? AND rowid <= ?";
const char* const lowerBacklogSql = "UPDATE pb_search_backlog SET up_to=?";

bool isWildcard(char32_t c)
{
    return c == U'%' || c == U'_';
}

QString quoted(const char32_t* chars, qsizetype count)
{
    QString text = QString::fromUcs4(chars, count);
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Evenly spread over the text, so every part of it still narrows the candidates.
QStringList spread(const QStringList& trigrams)
{
    if (trigrams.size() <= maxTrigrams)
        return trigrams;
    QStringList chosen;
    for (qsizetype i = 0; i < maxTrigrams; ++i)
        chosen.append(trigrams[i * (trigrams.size() - 1) / (maxTrigrams - 1)]);
    return chosen;
}
} // namespace

SearchIndex::SearchIndex(SerialQueue& dbQueue)
    : m_dbQueue(dbQueue), m_buildQueue(std::make_unique<SerialQueue>()),
      m_foldedRows(std::make_unique<FoldedRows>())
{}

SearchIndex::~SearchIndex()
{
    m_stopping = true;
    m_buildQueue.reset();
}

void SearchIndex::attach(SqliteDatabase& db)
{
    m_db = &db;
    if (!hasTable() && !create())
        return;
    m_upTo = backlog();
    m_complete = m_upTo == 0;
    if (m_upTo > 0)
        m_buildQueue->async([this] { buildInBackground(); });
}

bool SearchIndex::hasTable() const
{
    SqliteStatement statement(*m_db, QString::fromLatin1(hasTableSql));
    return statement.step() && statement.integer("n") > 0;
}

// The same statements the template was built with, in one transaction: the history has the
// whole index afterwards, with every existing row pending, or nothing of it.
bool SearchIndex::create()
{
    QFile file(QStringLiteral(":/db/search_index.sql"));
    const QString sql =
        file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    if (!sql.isEmpty() && m_db->execute(QStringLiteral("BEGIN")) && m_db->execute(sql) &&
        m_db->execute(QStringLiteral("COMMIT"))) {
        qCInfo(lcStorage) << "search index added to the history";
        return true;
    }
    qCWarning(lcStorage).noquote() << "cannot add the search index:" << m_db->errorText();
    if (m_db->inTransaction())
        m_db->execute(QStringLiteral("ROLLBACK"));
    return false;
}

// -1 when the backlog cannot be read: the index is then never used.
qint64 SearchIndex::backlog() const
{
    SqliteStatement statement(*m_db, QString::fromLatin1(backlogSql));
    return statement.step() ? statement.integer("up_to") : -1;
}

void SearchIndex::buildInBackground()
{
    qint64 batches = 0;
    while (!m_stopping && m_dbQueue.sync([this] { return indexNextBatch(); }))
        ++batches;
    if (m_complete)
        qCInfo(lcStorage, "search index complete after %lld batches",
               static_cast<long long>(batches));
}

bool SearchIndex::indexNextBatch()
{
    if (m_upTo <= 0)
        return false;
    const qint64 below = std::max<qint64>(m_upTo - batchRows, 0);
    if (!m_db->execute(QStringLiteral("BEGIN")))
        return false;
    SqliteStatement add(*m_db, QString::fromLatin1(indexBatchSql));
    add.bind(1, below).bind(2, m_upTo);
    SqliteStatement lower(*m_db, QString::fromLatin1(lowerBacklogSql));
    lower.bind(1, below);
    if (add.exec() && lower.exec() && m_db->execute(QStringLiteral("COMMIT"))) {
        m_upTo = below;
        m_complete = m_upTo == 0;
        return !m_complete;
    }
    qCWarning(lcStorage).noquote() << "cannot add rows to the search index:" << m_db->errorText();
    if (m_db->inTransaction())
        m_db->execute(QStringLiteral("ROLLBACK"));
    return false;
}

SearchIndex::Statement SearchIndex::searchStatement(SqliteDatabase& db, const QString& text,
                                                    bool indexed, bool rowIdsInDateOrder,
                                                    const FoldedRows& folded)
{
    const std::optional<QString> match = indexed ? matchExpression(text) : std::nullopt;
    const bool checkFolded = FoldedRows::concerns(text);
    if (match && rowIdsInDateOrder && findsExactly(text) && (!checkFolded || folded.isKnown())) {
        auto statement = std::make_unique<SqliteStatement>(db, QString::fromLatin1(indexedIdsSql));
        statement->bind(1, *match);
        return {std::move(statement), Order::IdsNewestFirst, checkFolded};
    }
    if (!match || !fewCandidates(db, *match)) {
        auto statement = std::make_unique<SqliteStatement>(
            db, QString::fromLatin1(rowIdsInDateOrder ? plainIdsSql : plainSearchSql));
        statement->bind(1, text);
        return {std::move(statement),
                rowIdsInDateOrder ? Order::IdsNewestFirst : Order::NewestFirst};
    }
    auto statement = std::make_unique<SqliteStatement>(
        db, QString::fromLatin1(rowIdsInDateOrder ? checkedIdsSql : indexedSearchSql));
    statement->bind(1, *match).bind(2, text);
    return {std::move(statement), rowIdsInDateOrder ? Order::IdsNewestFirst : Order::Unordered};
}

std::unique_ptr<SqliteStatement> SearchIndex::rowCheck(SqliteDatabase& db, const QString& text)
{
    auto statement = std::make_unique<SqliteStatement>(db, QString::fromLatin1(rowCheckSql));
    statement->bind(2, text);
    return statement;
}

bool SearchIndex::findsExactly(const QString& text)
{
    return text.size() == 3 && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
               return c.unicode() >= 0x20 && c.unicode() < 0x7f && !isWildcard(c.unicode());
           });
}

bool SearchIndex::fewCandidates(SqliteDatabase& db, const QString& match)
{
    SqliteStatement count(db, QString::fromLatin1(candidatesSql));
    count.bind(1, match).bind(2, maxSortedCandidates + 1);
    return count.step() && count.integer("n") <= maxSortedCandidates;
}

std::optional<QString> SearchIndex::matchExpression(const QString& text)
{
    if (text.contains(QChar(u'\0')))
        return std::nullopt;
    const std::u32string chars = text.toStdU32String();
    QStringList trigrams;
    QSet<QString> seen;
    size_t runStart = 0;
    for (size_t i = 0; i <= chars.size(); ++i) {
        if (i < chars.size() && !isWildcard(chars[i]))
            continue;
        for (size_t t = runStart; t + 3 <= i; ++t) {
            QString trigram = quoted(chars.data() + t, 3);
            if (!seen.contains(trigram)) {
                seen.insert(trigram);
                trigrams.append(std::move(trigram));
            }
        }
        runStart = i + 1;
    }
    if (trigrams.isEmpty())
        return std::nullopt;
    return spread(trigrams).join(QStringLiteral(" AND "));
}
