#include "HistoryFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <unistd.h>

namespace {
const char* const words[] = {"invoice", "meeting", "password", "tomorrow", "deploy",   "kernel",
                             "review",  "coffee",  "branch",   "release",  "customer", "ticket",
                             "budget",  "draft",   "schedule", "network",  "holiday",  "report"};

QByteArray sentence(QRandomGenerator& random)
{
    QByteArray text;
    const int count = 3 + random.bounded(14);
    for (int i = 0; i < count; ++i) {
        if (i)
            text += ' ';
        text += words[random.bounded(int(std::size(words)))];
    }
    return text;
}

struct Row
{
    int type;
    QByteArray types;
    QByteArray extension;
    int payloads;
};

Row rowKind(QRandomGenerator& random)
{
    const int dice = random.bounded(100);
    if (dice < 50)
        return {0, "public.html|public.utf8-plain-text", "html", 2};
    if (dice < 70)
        return {0, "public.utf8-plain-text", "txt", 1};
    if (dice < 80)
        return {3, "public.utf8-plain-text", "txt", 1};
    if (dice < 90)
        return {1, "public.file-url", "txt", 1};
    return {2, "public.png", "png", 1};
}
} // namespace

bool HistoryFixture::generate(const QString& path, int rows)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(":/db/db.sqlite3"), path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        return false;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO pb_items (uuid, date, title, type, pb_type, data, app, marked, "
                       "keyword) VALUES(?, ?, '', ?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    QRandomGenerator random(42);
    const QByteArray folder = "/home/user/.local/share/vantrel/data/";
    const double start = 1.7e9;
    for (int i = 0; i < rows; ++i) {
        const Row kind = rowKind(random);
        const QByteArray uuid = QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper();
        QByteArray data = folder + uuid + '.' + kind.extension;
        for (int p = 2; p <= kind.payloads; ++p)
            data += '|' + folder + uuid + ' ' + QByteArray::number(p) + ".data";
        const QByteArray keyword = kind.type == 2 ? QByteArray("") : sentence(random);
        const QByteArray app = "org.example.App" + QByteArray::number(random.bounded(20));
        sqlite3_bind_text(insert, 1, uuid.constData(), int(uuid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 2, start + i * 7.5);
        sqlite3_bind_int(insert, 3, kind.type);
        sqlite3_bind_text(insert, 4, kind.types.constData(), int(kind.types.size()),
                          SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, data.constData(), int(data.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, app.constData(), int(app.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 7, random.bounded(100) == 0 ? 1 : 0);
        sqlite3_bind_text(insert, 8, keyword.constData(), int(keyword.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return committed;
}

qint64 HistoryFixture::residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

void HistoryFixture::report(const char* name, double oursMs, double baselineMs)
{
    std::printf("%-52s %10.2f ms   [baseline %10.2f ms]\n", name, oursMs, baselineMs);
}

double HistoryFixture::bestMs(const std::function<void()>& run, int repeats)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void HistoryFixture::rawQuery(const QString& path, const char* sql, const QByteArray& parameter)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (!parameter.isNull())
        sqlite3_bind_text(statement, 1, parameter.constData(), int(parameter.size()),
                          SQLITE_TRANSIENT);
    qint64 bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            sqlite3_column_text(statement, c);
            bytes += sqlite3_column_bytes(statement, c);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (bytes < 0)
        std::puts("unreachable");
}
