#include "storage/OrphanSweeper.h"

#include "storage/DBManager.h"
#include "support/Clock.h"
#include "support/Logging.h"
#include "support/PrivateFiles.h"
#include "support/SerialQueue.h"
#include "support/ThreadPoster.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <optional>

namespace {
// Rows are read for this many files at a time, so the database queue is never held for long.
constexpr qsizetype batchSize = 256;

// The uuid a payload name ("<uuid>.<extension>", "<uuid> <number>.data") starts with; nullopt
// for any other name.
std::optional<QString> uuidOfPayloadName(const QString& name)
{
    static const QRegularExpression payloadName(QStringLiteral(
        "^([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})"
        "(\\.[^. ]+| [0-9]+\\.data)$"));
    const QRegularExpressionMatch match = payloadName.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

// A payload file being written is ".<payload name>.XXXXXX" beside the name it will take; one
// left over from a write that never finished is taken by no row.
bool isUnfinishedWrite(const QString& name)
{
    constexpr qsizetype uniqueSuffix = 7; // ".XXXXXX"
    return name.startsWith(u'.') && name.size() > uniqueSuffix + 1 &&
           name[name.size() - uniqueSuffix] == u'.' &&
           uuidOfPayloadName(name.mid(1, name.size() - uniqueSuffix - 1));
}

// Whether the stored paths name this file. Paths are joined with "|", which a folder name may
// hold too; a file name never does, so each piece's last component is a name the row may
// refer to (a folder fragment gives a name that matches no payload).
bool refersTo(const QByteArray& joinedPaths, const QString& name)
{
    const QStringList pieces = QString::fromUtf8(joinedPaths).split(u'|');
    return std::any_of(pieces.cbegin(), pieces.cend(), [&name](const QString& piece) {
        return QStringView(piece).mid(piece.lastIndexOf(u'/') + 1) == name;
    });
}
} // namespace

OrphanSweeper::OrphanSweeper(QString folder, DBManager& store, const Clock& clock, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_store(store), m_runStart(clock.now()),
      m_poster(new ThreadPoster(this)), m_queue(std::make_unique<SerialQueue>())
{}

OrphanSweeper::~OrphanSweeper()
{
    m_stopping = true;
    m_queue.reset();
}

void OrphanSweeper::start()
{
    m_queue->async([this] {
        const int removed = sweep();
        m_poster->post([this, removed] { emit finished(removed); });
    });
}

int OrphanSweeper::sweep()
{
    // Listed before the rows are read: a capture writes its files before its row, so any file
    // listed here whose capture has finished has its row by the time the rows are read.
    const QStringList candidates = filesOlderThan(m_runStart);
    if (candidates.isEmpty())
        return 0;
    const std::optional<bool> hasRows = m_store.hasRows();
    if (!hasRows || !*hasRows) {
        qCInfo(lcStorage).noquote()
            << "payload files not swept: the history" << (hasRows ? "is empty" : "cannot be read");
        return -1;
    }
    int removed = 0;
    for (qsizetype start = 0; start < candidates.size() && !m_stopping; start += batchSize) {
        if (!removeOrphans(candidates.mid(start, batchSize), removed))
            break;
    }
    qCInfo(lcStorage, "removed %d orphan payload files", removed);
    return removed;
}

QStringList OrphanSweeper::filesOlderThan(double cutoff) const
{
    QStringList names;
    QDirIterator entries(m_folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    while (entries.hasNext()) {
        const QFileInfo file = entries.nextFileInfo();
        if (file.lastModified().toMSecsSinceEpoch() / 1000.0 < cutoff)
            names.append(file.fileName());
    }
    return names;
}

bool OrphanSweeper::removeOrphans(const QStringList& names, int& removed)
{
    QHash<QString, QString> uuids; // name -> uuid, for payload names only
    for (const QString& name : names) {
        if (const std::optional<QString> uuid = uuidOfPayloadName(name))
            uuids.insert(name, *uuid);
    }
    const std::optional<QHash<QString, QByteArray>> stored =
        m_store.storedDataPaths(uuids.values());
    if (!stored)
        return false;
    for (const QString& name : names) {
        const bool payload = uuids.contains(name);
        if (!payload && !isUnfinishedWrite(name))
            continue;
        if (payload && refersTo(stored->value(uuids[name]), name))
            continue;
        if (PrivateFiles::removeFile(m_folder + u'/' + name, m_folder))
            ++removed;
    }
    return true;
}
