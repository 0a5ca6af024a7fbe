#pragma once

#include "platform/Pasteboard.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class ApplicationState;
class QClipboard;
class QProcess;
class SerialQueue;
class ThreadPoster;

// The Wayland clipboard, which an ordinary client sees only while one of its windows has the
// keyboard focus. Changes and contents come through the compositor's data-control protocol by
// way of wl-clipboard's programs: one long-lived `wl-paste --watch` announces each change, and
// `wl-paste --list-types` and `wl-paste --type T` read it on a worker thread (the owner may be
// this very process, which must stay free to answer). MIME formats are mapped to and from the
// program's identifiers by MimeTypeMapping, as on X11.
//
// The change count rises by one for each change once its content has been read, so
// pasteboardItems() always gives the content of the change that moved the count; a change
// overtaken by a newer one before it was read has none. The content on the clipboard when
// watching starts moves nothing. A Wayland source lives in its own
// process: what writeItem puts on the clipboard outlives this one when wl-copy holds it.
class PasteboardWayland : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    // All reads of one change (its type list and every payload) share this deadline; what has
    // not come by then reads as empty, as a format whose owner does not answer does on X11.
    static constexpr int readDeadlineMs = 5000;

    // Writes go through the clipboard while the application has the focus, and through wl-copy
    // otherwise. Watching starts with start().
    PasteboardWayland(QClipboard* clipboard, const ApplicationState& applicationState,
                      QObject* parent = nullptr);
    ~PasteboardWayland() override;

    // Starts the watch. When wl-paste is missing or the compositor offers no data-control the
    // reason is logged and given once to the unavailable handler, and nothing is recorded.
    void start();

    qint64 changeCount() const override { return m_changeCount; }
    // The content of the latest change read; an owner marked as a password manager's gives none.
    QList<PasteboardItem> pasteboardItems() override { return m_items; }
    // With the focus every type is written; without it wl-copy offers the first type (and the
    // text forms wl-copy adds to a text type), since it holds one type only.
    bool writeItem(const QStringList& types, const QList<QByteArray>& payloads) override;
    // Each change is announced as soon as it has been read.
    bool setChangeHandler(ChangeHandler handler) override;
    void setUnavailableHandler(UnavailableHandler handler) override;

    // Why the clipboard cannot be recorded; empty while it can.
    QString problem() const { return m_problem; }

private:
    void startWatchProcess(bool skipFirstAnnouncement);
    void watchOutput();
    void watchEnded();
    void readChange(qint64 change);
    void changeRead(qint64 change, const QList<PasteboardItem>& items);
    bool writeThroughWlCopy(const QStringList& types, const QList<QByteArray>& payloads);
    void report(const QString& problem);

    QClipboard* m_clipboard;
    const ApplicationState& m_applicationState;
    QString m_wlPaste;
    QString m_wlCopy;
    // One reader at a time; each hands its result back through the poster.
    std::unique_ptr<SerialQueue> m_readers;
    ThreadPoster* m_poster;
    // The newest change announced, shared with the readers so that a superseded read stops.
    std::shared_ptr<std::atomic<qint64>> m_latestChange;
    QProcess* m_watch = nullptr;
    // Announcements still to be passed over: the content already on the clipboard at start.
    qint64 m_skippedAnnouncements = 0;
    qint64 m_changesAnnounced = 0;
    qint64 m_changeCount = 0;
    QList<PasteboardItem> m_items;
    ChangeHandler m_changeHandler;
    UnavailableHandler m_unavailableHandler;
    QString m_problem;
};
