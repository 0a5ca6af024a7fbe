#pragma once

#include "support/SqliteDatabase.h"
#include "support/SqliteStatement.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The rows of a history database as a test reads them, through a connection of its own beside
// the application's. A missing database is never created: the application makes it from its
// template only where there is none.
namespace StoredRows {
// Every row of pb_items, newest first, each column by name (date a double, type and marked
// integers, the others text). Empty when the database cannot be opened.
inline QList<QVariantMap> all(const QString& dbPath)
{
    static const QList<QByteArray> texts = {"uuid", "title", "pb_type", "data", "app", "keyword"};
    QList<QVariantMap> rows;
    SqliteDatabase db;
    if (!QFile::exists(dbPath) || !db.open(dbPath))
        return rows;
    SqliteStatement select(db, QStringLiteral("SELECT * FROM pb_items ORDER BY date DESC"));
    while (select.step()) {
        QVariantMap row;
        for (const QByteArray& column : texts)
            row[QString::fromLatin1(column)] = select.text(column);
        row[QStringLiteral("date")] = select.real("date");
        row[QStringLiteral("type")] = select.integer("type");
        row[QStringLiteral("marked")] = select.integer("marked");
        rows.append(row);
    }
    return rows;
}

// The values of one text column, in that column's order.
inline QStringList column(const QString& dbPath, const QString& name)
{
    QStringList values;
    SqliteDatabase db;
    if (!QFile::exists(dbPath) || !db.open(dbPath))
        return values;
    SqliteStatement select(
        db, QStringLiteral("SELECT %1 AS value FROM pb_items ORDER BY %1").arg(name));
    while (select.step())
        values << select.text("value");
    return values;
}

// The number of rows; -1 when the database cannot be opened.
inline int count(const QString& dbPath)
{
    SqliteDatabase db;
    if (!QFile::exists(dbPath) || !db.open(dbPath))
        return -1;
    SqliteStatement select(db, QStringLiteral("SELECT COUNT(*) AS n FROM pb_items"));
    return select.step() ? int(select.integer("n")) : -1;
}
} // namespace StoredRows
