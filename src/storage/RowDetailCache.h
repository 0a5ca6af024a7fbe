#pragma once

#include "item/DetailReader.h"
#include "item/ItemUuid.h"

#include <QHash>
#include <QString>
#include <list>
#include <memory>
#include <mutex>

class SqliteDatabase;
class SqliteStatement;

// The details of the stored items being shown, copied or summarised, read from their rows on a
// connection of its own: a read never waits behind the store's writes or a long search on the
// database queue (the history is in write-ahead-log mode, so readers and the writer go side by
// side). The most recently used are kept, up to a number of rows and of bytes; the least
// recently used go first.
class RowDetailCache : public DetailReader
{
public:
    struct Limits
    {
        qsizetype rows;
        qsizetype bytes;
    };
    static constexpr Limits defaultLimits{4096, 16 << 20};

    explicit RowDetailCache(const QString& dbPath, Limits limits = defaultLimits);
    ~RowDetailCache() override;

    std::shared_ptr<const ContentDetails> readDetails(const ItemUuid& uuid) const override;
    std::shared_ptr<const ContentDetails> keptDetails(const ItemUuid& uuid) const override;

    // Keeps the details of a row just written, so that its item need not read them back.
    void remember(const ItemUuid& uuid, std::shared_ptr<const ContentDetails> details) const;

    // What is kept now; for the tests and the figures.
    qsizetype keptRows() const;
    qsizetype keptBytes() const;

private:
    struct Entry
    {
        std::shared_ptr<const ContentDetails> details;
        qsizetype cost;
        std::list<ItemUuid>::iterator use;
    };

    std::shared_ptr<const ContentDetails> readRow(const ItemUuid& uuid) const;
    void keep(const ItemUuid& uuid, std::shared_ptr<const ContentDetails> details) const;
    void evict() const;

    const QString m_dbPath;
    const Limits m_limits;
    // The connection and its statement are guarded by the reading mutex, what is kept by the
    // other: any thread may ask.
    mutable std::mutex m_readMutex;
    mutable std::unique_ptr<SqliteDatabase> m_db;
    mutable std::unique_ptr<SqliteStatement> m_select;
    mutable std::mutex m_mutex;
    mutable QHash<ItemUuid, Entry> m_entries;
    // Most recently used first.
    mutable std::list<ItemUuid> m_uses;
    mutable qsizetype m_bytes = 0;
};
