#include "storage/RowDetailCache.h"

#include "item/ContentDetails.h"
#include "support/Logging.h"
#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

namespace {
const auto selectSql =
    QStringLiteral("SELECT title, pb_type, data, app, keyword FROM pb_items WHERE uuid=?");
} // namespace

RowDetailCache::RowDetailCache(const QString& dbPath, Limits limits)
    : m_dbPath(dbPath), m_limits(limits)
{}

RowDetailCache::~RowDetailCache()
{
    m_select.reset();
    m_db.reset();
}

// The row is read outside the lock on what is kept, so that a look at that (keptDetails(), from
// the GUI thread) never waits for a read of the history.
std::shared_ptr<const ContentDetails> RowDetailCache::readDetails(const ItemUuid& uuid) const
{
    if (auto kept = keptDetails(uuid))
        return kept;
    std::shared_ptr<const ContentDetails> details;
    {
        std::lock_guard reading(m_readMutex);
        details = readRow(uuid);
    }
    if (details) {
        std::lock_guard lock(m_mutex);
        keep(uuid, details);
    }
    return details;
}

std::shared_ptr<const ContentDetails> RowDetailCache::keptDetails(const ItemUuid& uuid) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_entries.find(uuid);
    if (found == m_entries.end())
        return nullptr;
    m_uses.splice(m_uses.begin(), m_uses, found->use);
    return found->details;
}

void RowDetailCache::remember(const ItemUuid& uuid,
                              std::shared_ptr<const ContentDetails> details) const
{
    std::lock_guard lock(m_mutex);
    keep(uuid, std::move(details));
}

qsizetype RowDetailCache::keptRows() const
{
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

qsizetype RowDetailCache::keptBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

// NULL columns leave their fields absent, as a full load of the row does.
std::shared_ptr<const ContentDetails> RowDetailCache::readRow(const ItemUuid& uuid) const
{
    if (!m_db) {
        auto db = std::make_unique<SqliteDatabase>();
        if (!db->open(m_dbPath)) {
            qCWarning(lcStorage).noquote() << "cannot read item details:" << db->errorText();
            return nullptr;
        }
        m_db = std::move(db);
        m_select = std::make_unique<SqliteStatement>(*m_db, selectSql);
    }
    m_select->reset();
    m_select->bind(1, uuid.toString());
    if (!m_select->step())
        return nullptr;
    auto details = std::make_shared<ContentDetails>();
    details->title = m_select->text("title");
    if (!m_select->isNull("pb_type"))
        details->pasteboardTypes = m_select->text("pb_type").split(u'|');
    if (!m_select->isNull("data"))
        details->dataPaths = m_select->bytes("data");
    details->app = m_select->text("app");
    details->keyword = m_select->text("keyword");
    m_select->reset();
    return details;
}

void RowDetailCache::keep(const ItemUuid& uuid, std::shared_ptr<const ContentDetails> details) const
{
    const auto found = m_entries.find(uuid);
    if (found != m_entries.end()) {
        m_bytes -= found->cost;
        m_uses.erase(found->use);
        m_entries.erase(found);
    }
    const qsizetype cost = details->cost();
    m_uses.push_front(uuid);
    m_entries.insert(uuid, Entry{std::move(details), cost, m_uses.begin()});
    m_bytes += cost;
    evict();
}

// The entry just kept stays even when it alone is over the limit: its item is using it.
void RowDetailCache::evict() const
{
    while (m_uses.size() > 1 && (m_entries.size() > m_limits.rows || m_bytes > m_limits.bytes)) {
        const auto found = m_entries.find(m_uses.back());
        m_bytes -= found->cost;
        m_entries.erase(found);
        m_uses.pop_back();
    }
}
