#include "storage/FoldedRows.h"

#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

namespace {
constexpr char16_t kelvinSign = u'\u212A';
constexpr char16_t longS = u'\u017F';

const char* const scanSql =
    "SELECT rowid FROM pb_items WHERE instr(keyword, ?) > 0 OR instr(keyword, ?) > 0";
} // namespace

bool FoldedRows::holdsFolded(const QString& keyword)
{
    return keyword.contains(QChar(kelvinSign)) || keyword.contains(QChar(longS));
}

bool FoldedRows::concerns(const QString& text)
{
    return text.contains(QLatin1Char('k'), Qt::CaseInsensitive) ||
           text.contains(QLatin1Char('s'), Qt::CaseInsensitive);
}

// The lock is held across the write: a search that reads the row (it is committed inside the
// write) asks mayHold() after it, and so waits until the row is noted.
std::optional<qint64> FoldedRows::write(const QString& keyword,
                                        const std::function<std::optional<qint64>()>& write)
{
    const std::lock_guard lock(m_mutex);
    const std::optional<qint64> rowId = write();
    if (rowId && holdsFolded(keyword))
        m_rows.insert(*rowId);
    return rowId;
}

bool FoldedRows::isKnown() const
{
    const std::lock_guard lock(m_mutex);
    return m_known;
}

// Rows written after the scan's read began are noted by write(), those before are in the scan.
void FoldedRows::scan(SqliteDatabase& db)
{
    if (isKnown())
        return;
    SqliteStatement statement(db, QString::fromLatin1(scanSql));
    statement.bind(1, QString(QChar(kelvinSign))).bind(2, QString(QChar(longS)));
    QSet<qint64> found;
    while (statement.step())
        found.insert(statement.integer(0));
    if (statement.failed()) {
        qCWarning(lcStorage).noquote() << "cannot scan the keywords:" << statement.errorText();
        return;
    }
    const std::lock_guard lock(m_mutex);
    m_rows.unite(found);
    m_known = true;
}

bool FoldedRows::mayHold(qint64 rowId) const
{
    const std::lock_guard lock(m_mutex);
    return !m_known || m_rows.contains(rowId);
}
