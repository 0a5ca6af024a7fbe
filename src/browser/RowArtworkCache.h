#pragma once

#include "browser/RowArtwork.h"

#include <QCache>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QThreadPool>
#include <deque>
#include <functional>

class ThreadPoster;

// The rows' artwork, made on worker threads and kept within a fixed budget. Requests are served
// newest first and only the latest few wait, so scrolling fast through a long list makes the rows
// that are on screen, not every row passed on the way. Main thread only.
class RowArtworkCache : public QObject
{
    Q_OBJECT

public:
    // Kept: at most this many rows' artwork and this many bytes of it. Rows scrolled back to
    // within a few thousand still find theirs; any other has it made again.
    struct Limits
    {
        qsizetype rows;
        qsizetype bytes;
    };
    static constexpr Limits defaultLimits{4096, 16 << 20};

    // Pictures fit `box` device pixels.
    explicit RowArtworkCache(const QSize& box, Limits limits = defaultLimits,
                             QObject* parent = nullptr);
    ~RowArtworkCache() override;

    // The size in pixels of a row's icon, 40 points square, on a screen of this pixel ratio.
    static QSize rowIconSize(qreal devicePixelRatio);

    // The item's artwork, or nullptr while it is being made (it is asked for then).
    const RowArtwork* find(const PBContent& item);
    // The icon a row shows when it has no picture: the source application's, the file type's,
    // or the program's fallbacks, as the item's own icon would be; `artwork` may be null.
    QIcon icon(const PBContent& item, const RowArtwork* artwork);
    // Artwork made so far and still kept, and requests not yet served; for tests and benchmarks.
    qsizetype keptCount() const { return m_done.count(); }
    qsizetype keptCost() const { return m_done.totalCost(); }
    bool isIdle() const { return m_running == 0 && m_waiting.empty(); }

signals:
    void artworkReady(const QString& uuid);

private:
    void request(const PBContent& item);
    void startWaiting();
    void finished(const QString& uuid, RowArtwork artwork);
    QIcon namedIcon(const QString& key, const std::function<QIcon()>& make);

    QSize m_box;
    // Each row counts as at least its share of the bytes: rows without a picture cost so little
    // that the bytes alone would keep tens of thousands.
    qsizetype m_leastCost;
    QCache<QString, RowArtwork> m_done;
    std::deque<RowArtwork::Source> m_waiting;
    QSet<QString> m_asked; // waiting or running
    int m_running = 0;
    QHash<QString, QIcon> m_icons;
    QThreadPool m_pool;
    ThreadPoster* m_poster; // child: hands results back to this thread
};
