#include "ClipOwner.h"
#include "LogRecorder.h"
#include "platform/ApplicationStateQt.h"
#include "platform/PasteboardTypes.h"
#include "platform/x11/PasteboardX11.h"
#include "recording/PBPasteboardItemObserver.h"
#include "recording/PBWatcher.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

class RecordingObserver : public PBPasteboardItemObserver
{
public:
    explicit RecordingObserver(const QElapsedTimer& sinceChange) : m_sinceChange(sinceChange) {}

    void pasteboardItemChanged(const QList<PasteboardItem>& items) override
    {
        calls.append(items);
        msSinceChange.append(m_sinceChange.elapsed());
    }

    QString lastText() const
    {
        if (calls.isEmpty() || calls.last().isEmpty())
            return {};
        return calls.last().first().stringForType(PasteboardTypes::string).value_or(QString());
    }

    QList<QList<PasteboardItem>> calls;
    QList<qint64> msSinceChange;

private:
    const QElapsedTimer& m_sinceChange;
};

} // namespace

class TestPBWatcherX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void externalChangeIsPassedOnWithinThePollPeriod();
    void ownWriteWhileActiveIsSkipped();

private:
    QElapsedTimer m_sinceChange;
    std::unique_ptr<PasteboardX11> m_pasteboard;
    std::unique_ptr<ApplicationStateQt> m_state;
    std::unique_ptr<PBWatcher> m_watcher;
    std::unique_ptr<RecordingObserver> m_observer;
};

void TestPBWatcherX11::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    QLoggingCategory::setFilterRules(u"vantrel.capture.info=true"_s);
    LogRecorder::install();
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this,
            [this] { m_sinceChange.start(); });
}

void TestPBWatcherX11::init()
{
    m_pasteboard = std::make_unique<PasteboardX11>(QGuiApplication::clipboard());
    m_state = std::make_unique<ApplicationStateQt>();
    m_watcher = std::make_unique<PBWatcher>(*m_pasteboard, *m_state);
    m_observer = std::make_unique<RecordingObserver>(m_sinceChange);
    m_watcher->addObserver(m_observer.get());
}

void TestPBWatcherX11::cleanup()
{
    m_watcher.reset();
    m_observer.reset();
    m_state.reset();
    m_pasteboard.reset();
}

void TestPBWatcherX11::externalChangeIsPassedOnWithinThePollPeriod()
{
    QVERIFY(!m_state->isActive());
    m_watcher->startWatch();

    ClipOwner owner({{u"UTF8_STRING"_s, "copied elsewhere"_ba}});
    QTRY_COMPARE(m_observer->calls.size(), 1);
    QCOMPARE(m_observer->lastText(), u"copied elsewhere"_s);
    // One poll period, with room for timer jitter on a busy machine.
    QVERIFY2(m_observer->msSinceChange.first() < 2 * PBWatcher::pollIntervalMs,
             qPrintable(QString::number(m_observer->msSinceChange.first())));
}

void TestPBWatcherX11::ownWriteWhileActiveIsSkipped()
{
    ClipOwner other({{u"UTF8_STRING"_s, "other"_ba}}, {u"--map"_s, u"--keep"_s});
    QTRY_VERIFY(other.isReady());
    QWindow window;
    window.resize(240, 120);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(activateWindow(window.winId()));
    QTRY_VERIFY(m_state->isActive());

    m_watcher->startWatch();
    m_watcher->setIgnoreNextCopy(true);
    const qint64 countBefore = m_pasteboard->changeCount();
    m_pasteboard->writeItem({PasteboardTypes::string}, {"vantrel's own copy"});
    QTRY_VERIFY(m_pasteboard->changeCount() > countBefore);
    QTRY_VERIFY(LogRecorder::lastCountSeen() >= m_pasteboard->changeCount());
    QTRY_VERIFY(other.hasLost());
    QCOMPARE(m_observer->calls.size(), 0);
    // The skipped change used up the one-shot request too.
    QVERIFY(!m_watcher->ignoreNextCopy());

    // Back in the other application, the own copy stays skipped; the next copy there counts.
    QVERIFY(activateWindow(other.window()));
    QTRY_VERIFY(!m_state->isActive());
    ClipOwner next({{u"UTF8_STRING"_s, "copied after"_ba}});
    QTRY_COMPARE(m_observer->calls.size(), 1);
    QCOMPARE(m_observer->lastText(), u"copied after"_s);
}

QTEST_MAIN(TestPBWatcherX11)
#include "tst_pbwatcherx11.moc"
