#include "platform/wayland/PasteboardWayland.h"

#include "platform/ApplicationState.h"
#include "platform/MimeTypeMapping.h"
#include "support/Logging.h"
#include "support/SerialQueue.h"
#include "support/ThreadPoster.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/prctl.h>

using namespace Qt::StringLiterals;

namespace {
// How often a wait on wl-paste looks at the deadline and whether its change is still the newest.
constexpr int waitSliceMs = 50;

// wl-paste hands the new content to the command on its standard input. The command must read it
// to the end: a source whose pipe is closed early may die of SIGPIPE (wl-copy does), and the
// user's clipboard with it.
const QStringList watchArguments = {u"--watch"_s, u"sh"_s, u"-c"_s, u"cat >/dev/null; echo"_s};

// Runs wl-paste to its end; its standard output, or nothing when it failed (no selection, no
// such type), ran past the deadline or was given up.
std::optional<QByteArray> runWlPaste(const QString& program, const QStringList& arguments,
                                     const QDeadlineTimer& deadline,
                                     const std::function<bool()>& givenUp)
{
    if (deadline.hasExpired() || givenUp())
        return std::nullopt;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    while (!process.waitForFinished(waitSliceMs)) {
        if (process.state() == QProcess::NotRunning)
            return std::nullopt;
        if (deadline.hasExpired() || givenUp()) {
            process.kill();
            process.waitForFinished();
            return std::nullopt;
        }
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QStringList formatsIn(const QByteArray& list)
{
    QStringList formats;
    for (const QByteArray& line : list.split('\n')) {
        if (!line.trimmed().isEmpty())
            formats.append(QString::fromUtf8(line.trimmed()));
    }
    return formats;
}

// Reads the clipboard as it is now, on a worker thread: its formats, then each format the
// mapping asks for, all within one deadline.
QList<PasteboardItem> readClipboard(const QString& wlPaste, const std::function<bool()>& givenUp)
{
    const QDeadlineTimer deadline(PasteboardWayland::readDeadlineMs);
    const std::optional<QByteArray> list =
        runWlPaste(wlPaste, {u"--list-types"_s}, deadline, givenUp);
    if (!list)
        return {};
    const QStringList formats = formatsIn(*list);
    qCDebug(lcPlatform) << "clipboard formats:" << formats;
    return MimeTypeMapping::itemsFromFormats(formats, [&](const QString& format) {
        return runWlPaste(wlPaste, {u"--no-newline"_s, u"--type"_s, format}, deadline, givenUp);
    });
}
} // namespace

PasteboardWayland::PasteboardWayland(QClipboard* clipboard,
                                     const ApplicationState& applicationState, QObject* parent)
    : QObject(parent), m_clipboard(clipboard), m_applicationState(applicationState),
      m_readers(std::make_unique<SerialQueue>()), m_poster(new ThreadPoster(this)),
      m_latestChange(std::make_shared<std::atomic<qint64>>(0))
{}

PasteboardWayland::~PasteboardWayland()
{
    // No change is the newest any more, so a running read gives up within a slice and queued
    // ones at once; a reply they post is dropped with the poster.
    m_latestChange->store(-1);
    m_readers.reset();
    if (m_watch) {
        m_watch->disconnect(this);
        m_watch->kill();
        m_watch->waitForFinished();
    }
}

void PasteboardWayland::start()
{
    m_wlPaste = QStandardPaths::findExecutable(u"wl-paste"_s);
    m_wlCopy = QStandardPaths::findExecutable(u"wl-copy"_s);
    if (m_wlPaste.isEmpty()) {
        report(tr("Vantrel cannot record the clipboard: wl-paste was not found. Install "
                  "wl-clipboard (on Debian and Ubuntu: apt install wl-clipboard) and start "
                  "Vantrel again."));
        return;
    }
    // wl-paste announces the content already on the clipboard when it starts watching, and that
    // content is never recorded: find out first whether there is any.
    const std::shared_ptr<std::atomic<qint64>> latest = m_latestChange;
    m_readers->async([this, poster = m_poster, program = m_wlPaste, latest] {
        const bool hasSelection =
            runWlPaste(program, {u"--list-types"_s}, QDeadlineTimer(readDeadlineMs), [latest] {
                return latest->load() < 0;
            }).has_value();
        poster->post([this, hasSelection] { startWatchProcess(hasSelection); });
    });
}

void PasteboardWayland::startWatchProcess(bool skipFirstAnnouncement)
{
    m_skippedAnnouncements = skipFirstAnnouncement ? 1 : 0;
    m_watch = new QProcess(this);
    m_watch->setStandardInputFile(QProcess::nullDevice());
    // The watch must not outlive the application, even one that is killed.
    m_watch->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(m_watch, &QProcess::started, this,
            [] { qCInfo(lcPlatform, "watching the Wayland clipboard through wl-paste"); });
    connect(m_watch, &QProcess::readyReadStandardOutput, this, &PasteboardWayland::watchOutput);
    connect(m_watch, &QProcess::finished, this, &PasteboardWayland::watchEnded);
    connect(m_watch, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            watchEnded();
    });
    m_watch->start(m_wlPaste, watchArguments);
}

void PasteboardWayland::watchOutput()
{
    qint64 announced = m_watch->readAllStandardOutput().count('\n');
    const qint64 skipped = std::min(announced, m_skippedAnnouncements);
    if (skipped > 0)
        qCInfo(lcPlatform, "passed over the content on the clipboard at start");
    m_skippedAnnouncements -= skipped;
    announced -= skipped;
    if (announced <= 0)
        return;
    // Of several changes announced together only the newest is read; the others are still
    // changes of their own, published without content.
    m_changesAnnounced += announced;
    m_latestChange->store(m_changesAnnounced);
    readChange(m_changesAnnounced);
}

void PasteboardWayland::watchEnded()
{
    const QString reason = QString::fromLocal8Bit(m_watch->readAllStandardError()).trimmed();
    report(tr("Vantrel cannot record the clipboard: the compositor does not offer the "
              "data-control protocol (wl-paste: %1). On GNOME, start Vantrel under XWayland "
              "with QT_QPA_PLATFORM=xcb.")
               .arg(reason.isEmpty() ? m_watch->errorString() : reason));
}

void PasteboardWayland::readChange(qint64 change)
{
    const std::shared_ptr<std::atomic<qint64>> latest = m_latestChange;
    m_readers->async([this, poster = m_poster, program = m_wlPaste, latest, change] {
        const QList<PasteboardItem> items =
            readClipboard(program, [latest, change] { return latest->load() != change; });
        poster->post([this, change, items] { changeRead(change, items); });
    });
}

// Every change moves the count by one and is announced on its own, never merged with the next:
// merged, this application's own write-back and the user's next copy would be one change, and the
// watcher, which skips one change for each own write, would take the user's copy with it.
void PasteboardWayland::changeRead(qint64 change, const QList<PasteboardItem>& items)
{
    // A read overtaken by a newer change was given up half-way: its change has no content.
    const bool overtaken = change != m_changesAnnounced;
    while (m_changeCount < change) {
        ++m_changeCount;
        m_items = m_changeCount == change && !overtaken ? items : QList<PasteboardItem>();
        if (m_changeHandler) {
            m_changeHandler();
            m_items.clear();
        }
    }
}

bool PasteboardWayland::setChangeHandler(ChangeHandler handler)
{
    m_changeHandler = std::move(handler);
    return true;
}

bool PasteboardWayland::writeItem(const QStringList& types, const QList<QByteArray>& payloads)
{
    // Wayland lets a client set the clipboard only while it has the keyboard focus.
    if (m_applicationState.isActive()) {
        m_clipboard->setMimeData(MimeTypeMapping::mimeDataForItem(types, payloads).release(),
                                 QClipboard::Clipboard);
        return true;
    }
    return writeThroughWlCopy(types, payloads);
}

bool PasteboardWayland::writeThroughWlCopy(const QStringList& types,
                                           const QList<QByteArray>& payloads)
{
    const QList<std::pair<QString, QByteArray>> formats =
        MimeTypeMapping::formatsForItem(types, payloads);
    if (formats.isEmpty() || m_wlCopy.isEmpty()) {
        qCWarning(lcPlatform) << "cannot write the clipboard without the focus: wl-copy"
                              << (m_wlCopy.isEmpty() ? "was not found" : "has nothing to write");
        return false;
    }
    // wl-copy reads its input to the end, then leaves a child behind that serves the clipboard
    // until another client takes it, this application's end notwithstanding.
    auto* process = new QProcess(this);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    process->start(m_wlCopy, {u"--type"_s, formats.first().first});
    process->write(formats.first().second);
    process->closeWriteChannel();
    return true;
}

void PasteboardWayland::report(const QString& problem)
{
    if (!m_problem.isEmpty())
        return;
    m_problem = problem;
    qCWarning(lcPlatform).noquote() << problem;
    // Given from the event loop, so that whoever shows it has installed its handler by then.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_unavailableHandler)
                m_unavailableHandler(m_problem);
        },
        Qt::QueuedConnection);
}

void PasteboardWayland::setUnavailableHandler(UnavailableHandler handler)
{
    m_unavailableHandler = std::move(handler);
}
