#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Fills a history database with generated rows the way a long-used history looks: mostly text
// from a handful of applications, some web addresses, files and images, a few marked items.
class HistoryFixture
{
public:
    // Copies the template database to `path` and writes `rows` rows in one transaction.
    static bool generate(const QString& path, int rows);

    // The resident set size of this process in bytes.
    static qint64 residentBytes();

    // The best of a few runs, in milliseconds: the least disturbed by the rest of the machine.
    static double bestMs(const std::function<void()>& run, int repeats = 3);

    // Runs `sql` (with one text parameter, unless null) over the database at `path` straight
    // through SQLite, reading every column of every row: the raw baseline of the store's reads.
    static void rawQuery(const QString& path, const char* sql, const QByteArray& parameter = {});
    // Every row in date order, newest first: what a load of the whole history stands on.
    static constexpr const char* stepThroughSql = "SELECT * FROM pb_items ORDER BY date DESC";

    // Prints one figure in milliseconds beside its same-run baseline.
    static void report(const char* name, double oursMs, double baselineMs);
};
