#pragma once

#include "platform/Pasteboard.h"
#include "platform/PasteboardChanges.h"

#include <QObject>
#include <QString>
#include <memory>

class ClipboardReaderWayland;
class ClipboardWriterWayland;
struct DataControlProtocol;
class ThreadPoster;

// The Wayland clipboard, which an ordinary client sees only while one of its windows has the
// keyboard focus, reached instead through the compositor's data-control protocol: changes are
// read as they happen by a ClipboardReaderWayland on its own thread and connection, and
// writeItem puts content on the clipboard through a ClipboardWriterWayland, focus or none. MIME
// formats are mapped to and from the program's identifiers by MimeTypeMapping, as on X11.
//
// The compositor keeps no copy of a selection: what writeItem puts on the clipboard lives only
// while this process runs.
class PasteboardWayland : public QObject, public Pasteboard
{
    Q_OBJECT

public:
    // The type every source of this process offers beside its content, by which the reader knows
    // this process's own writes.
    static const QByteArray ownType;

    // `protocol` is the data-control protocol the compositor offers; nullptr when it offers none.
    // Watching starts with start().
    explicit PasteboardWayland(const DataControlProtocol* protocol, QObject* parent = nullptr);
    ~PasteboardWayland() override;

    // Starts the watch. When the compositor offers no data-control, or cannot be reached, the
    // reason is logged and given once to the unavailable handler, and nothing is recorded.
    void start();

    // The number of clipboard changes read since the start, this process's own writes included.
    // It moves once the change has been read.
    qint64 changeCount() const override { return m_changes.count(); }
    // The content of the latest change read; an owner marked as a password manager's, one that
    // had gone or one that sent nothing in time gives none.
    QList<PasteboardItem> pasteboardItems() override { return m_changes.items(); }
    bool writeItem(const QStringList& types, const QList<QByteArray>& payloads) override;
    // Each change is announced as soon as it has been read.
    bool setChangeHandler(ChangeHandler handler) override;
    void setUnavailableHandler(UnavailableHandler handler) override;

    // Why the clipboard cannot be recorded; empty while it can.
    QString problem() const { return m_problem; }

private:
    void report(const QString& problem);

    const DataControlProtocol* m_protocol;
    ThreadPoster* m_poster;
    std::unique_ptr<ClipboardReaderWayland> m_reader;
    std::unique_ptr<ClipboardWriterWayland> m_writer;
    PasteboardChanges m_changes;
    UnavailableHandler m_unavailableHandler;
    QString m_problem;
};
