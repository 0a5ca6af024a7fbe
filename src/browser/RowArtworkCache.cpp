#include "browser/RowArtworkCache.h"

#include "item/ContentIcons.h"
#include "platform/xdg/DesktopEntries.h"
#include "support/ThreadPoster.h"

#include <QGuiApplication>
#include <algorithm>

namespace {
constexpr int workers = 2;
// More requests than a screen of rows are stale by the time they would be served.
constexpr std::size_t maxWaiting = 48;
// Distinct application and file-type icons; past this the few kept are forgotten at once.
constexpr qsizetype maxIcons = 512;
constexpr int rowIconPoints = 40;
} // namespace

RowArtworkCache::RowArtworkCache(const QSize& box, Limits limits, QObject* parent)
    : QObject(parent), m_box(box), m_leastCost(limits.bytes / limits.rows), m_done(limits.bytes),
      m_poster(new ThreadPoster(this))
{
    m_pool.setMaxThreadCount(workers);
}

// The workers hold no reference to the cache; their results are dropped with the poster.
RowArtworkCache::~RowArtworkCache()
{
    m_pool.clear();
    m_pool.waitForDone();
}

QSize RowArtworkCache::rowIconSize(qreal devicePixelRatio)
{
    return QSize(rowIconPoints, rowIconPoints) * devicePixelRatio;
}

const RowArtwork* RowArtworkCache::find(const PBContent& item)
{
    if (const RowArtwork* artwork = m_done.object(item.uuid()))
        return artwork;
    request(item);
    return nullptr;
}

void RowArtworkCache::request(const PBContent& item)
{
    const QString uuid = item.uuid();
    if (m_asked.contains(uuid)) {
        // Asked again: it is on screen now, so it moves to the front.
        const auto found =
            std::find_if(m_waiting.begin(), m_waiting.end(),
                         [&uuid](const auto& source) { return source.uuid == uuid; });
        if (found != m_waiting.end()) {
            RowArtwork::Source source = std::move(*found);
            m_waiting.erase(found);
            m_waiting.push_front(std::move(source));
        }
        return;
    }
    m_asked.insert(uuid);
    m_waiting.push_front(RowArtwork::Source::of(item));
    while (m_waiting.size() > maxWaiting) {
        m_asked.remove(m_waiting.back().uuid);
        m_waiting.pop_back();
    }
    startWaiting();
}

void RowArtworkCache::startWaiting()
{
    while (m_running < workers && !m_waiting.empty()) {
        RowArtwork::Source source = std::move(m_waiting.front());
        m_waiting.pop_front();
        ++m_running;
        m_pool.start([this, source = std::move(source), box = m_box, poster = m_poster] {
            RowArtwork artwork = RowArtwork::make(source, box);
            poster->post([this, uuid = source.uuid, artwork = std::move(artwork)]() mutable {
                finished(uuid, std::move(artwork));
            });
        });
    }
}

void RowArtworkCache::finished(const QString& uuid, RowArtwork artwork)
{
    --m_running;
    m_asked.remove(uuid);
    const qsizetype cost = std::max(artwork.cost(), m_leastCost);
    m_done.insert(uuid, new RowArtwork(std::move(artwork)), cost);
    emit artworkReady(uuid);
    startWaiting();
}

QIcon RowArtworkCache::icon(const PBContent& item, const RowArtwork* artwork)
{
    if (artwork && item.type() == PBContentTypeFile && !artwork->fileIconNames.isEmpty()) {
        const QStringList& names = artwork->fileIconNames;
        const QIcon icon = namedIcon(QStringLiteral("file:") + names.join(u'|'),
                                     [&names] { return ContentIcons::themeIcon(names); });
        if (!icon.isNull())
            return icon;
    }
    const bool fromApp = item.type() == PBContentTypeText || item.type() == PBContentTypeURL;
    if (artwork && fromApp && artwork->hasApp) {
        const QString& name = artwork->appIconName;
        const QIcon icon = namedIcon(QStringLiteral("app:") + name,
                                     [&name] { return DesktopEntries::iconForName(name); });
        return icon.isNull() ? ContentIcons::missingApp() : icon;
    }
    return ContentIcons::missingFile();
}

QIcon RowArtworkCache::namedIcon(const QString& key, const std::function<QIcon()>& make)
{
    const auto found = m_icons.constFind(key);
    if (found != m_icons.cend())
        return *found;
    if (m_icons.size() >= maxIcons)
        m_icons.clear();
    return *m_icons.insert(key, make());
}
