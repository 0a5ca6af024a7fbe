#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

// What the capture benches read off a running Vantrel: the rows its history has committed, and
// the percentiles of the latencies measured.

// The rows committed to the history at `dbPath`, read through a connection of its own; -1 when
// the file cannot be read yet.
inline qint64 committedRows(const QString& dbPath)
{
    sqlite3* db = nullptr;
    qint64 count = -1;
    if (sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM pb_items", -1, &statement, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            count = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return count;
}

inline double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<qsizetype>(p * double(values.size() - 1) + 0.5);
    return values.value(index);
}

// The median, 95th percentile and longest of latencies in milliseconds.
struct Latencies
{
    double p50 = 0;
    double p95 = 0;
    double max = 0;

    static Latencies of(const QList<double>& samples)
    {
        return {percentile(samples, 0.5), percentile(samples, 0.95), percentile(samples, 1.0)};
    }
    void print(const char* name) const
    {
        std::printf("%-50s p50 %7.2f ms  p95 %7.2f ms  max %7.2f ms\n", name, p50, p95, max);
    }
};
