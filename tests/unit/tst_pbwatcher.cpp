#include "platform/doubles/ApplicationStateMemory.h"
#include "platform/doubles/PasteboardMemory.h"
#include "recording/PBPasteboardItemObserver.h"
#include "recording/PBWatcher.h"

#include <QTimer>
#include <QtTest>

namespace {
PasteboardItem textItem(const QString& text)
{
    const QString type = QStringLiteral("public.utf8-plain-text");
    return PasteboardItem({type}, {{type, text.toUtf8()}});
}

class RecordingObserver : public PBPasteboardItemObserver
{
public:
    void pasteboardItemChanged(const QList<PasteboardItem>& items) override { calls.append(items); }
    QList<QList<PasteboardItem>> calls;
};
} // namespace

class TestPBWatcher : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_pasteboard = std::make_unique<PasteboardMemory>();
        m_state = std::make_unique<ApplicationStateMemory>();
        m_watcher = std::make_unique<PBWatcher>(*m_pasteboard, *m_state);
        m_observer = std::make_unique<RecordingObserver>();
        m_watcher->addObserver(m_observer.get());
    }

    // The watcher goes first: it still holds the clipboard it watches.
    void cleanup() { m_watcher.reset(); }

    void contentPresentAtStartIsNotPassedOn()
    {
        m_pasteboard->setItems({textItem(QStringLiteral("before"))});
        m_watcher->startWatch();
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);

        m_pasteboard->setItems({textItem(QStringLiteral("after"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
        QCOMPARE(m_observer->calls[0][0].stringForType(QStringLiteral("public.utf8-plain-text")),
                 QStringLiteral("after"));
    }

    void changeWhileActiveIsSkippedAndConsumesIgnoreFlag()
    {
        m_watcher->startWatch();
        m_watcher->setIgnoreNextCopy(true);
        m_state->setActive(true);
        m_pasteboard->setItems({textItem(QStringLiteral("own copy"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);
        QVERIFY(!m_watcher->ignoreNextCopy());

        // The skipped change is remembered: a poll without a new one passes nothing on.
        m_state->setActive(false);
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);

        m_pasteboard->setItems({textItem(QStringLiteral("external"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
    }

    void ignoreFlagSkipsExactlyTheNextChangeHoweverLate()
    {
        m_watcher->startWatch();
        m_watcher->setIgnoreNextCopy(true);
        for (int i = 0; i < 50; ++i)
            m_watcher->watchLoop();
        QVERIFY(m_watcher->ignoreNextCopy());

        m_pasteboard->setItems({textItem(QStringLiteral("written back"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);
        QVERIFY(!m_watcher->ignoreNextCopy());

        m_pasteboard->setItems({textItem(QStringLiteral("next"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
    }

    void severalChangesBetweenPollsGiveOneCallWithTheLatestItems()
    {
        m_watcher->startWatch();
        m_pasteboard->setItems({textItem(QStringLiteral("first"))});
        m_pasteboard->setItems({textItem(QStringLiteral("second"))});
        m_watcher->watchLoop();
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
        QCOMPARE(m_observer->calls[0][0].stringForType(QStringLiteral("public.utf8-plain-text")),
                 QStringLiteral("second"));
    }

    void changesWhileStoppedAreNotSeenAfterRestart()
    {
        m_watcher->startWatch();
        m_watcher->stopWatch();
        QVERIFY(!m_watcher->watching());
        m_pasteboard->setItems({textItem(QStringLiteral("while paused"))});
        m_watcher->startWatch();
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);
    }

    void doubleStartLeavesOneRunningTimer()
    {
        m_watcher->startWatch();
        m_watcher->startWatch();
        const auto timers = m_watcher->findChildren<QTimer*>();
        QCOMPARE(timers.size(), 1);
        QVERIFY(timers.first()->isActive());
        QVERIFY(m_watcher->watching());

        m_watcher->stopWatch();
        QVERIFY(m_watcher->findChildren<QTimer*>().isEmpty());
    }

    void observerAddedTwiceIsCalledOncePerChange()
    {
        m_watcher->addObserver(m_observer.get());
        m_watcher->addObserver(nullptr);
        m_watcher->startWatch();
        m_pasteboard->setItems({textItem(QStringLiteral("x"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);

        m_watcher->removeObserver(m_observer.get());
        m_pasteboard->setItems({textItem(QStringLiteral("y"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
    }

    void itemsAreReadOnlyForChangesThatArePassedOn()
    {
        m_watcher->startWatch();
        m_watcher->watchLoop();
        m_state->setActive(true);
        m_pasteboard->setItems({textItem(QStringLiteral("skipped"))});
        m_watcher->watchLoop();
        QCOMPARE(m_pasteboard->readCount(), 0);

        m_state->setActive(false);
        m_pasteboard->setItems({textItem(QStringLiteral("passed"))});
        m_watcher->watchLoop();
        QCOMPARE(m_pasteboard->readCount(), 1);
    }

    void timerPassesOnAChangeWithoutAnExplicitPoll()
    {
        m_watcher->startWatch();
        m_pasteboard->setItems({textItem(QStringLiteral("polled"))});
        QTRY_COMPARE(m_observer->calls.size(), 1);
    }

    // A clipboard that announces its changes is watched without a timer: each change, however
    // close to the one before, is passed on as it is announced, and nothing after stopping.
    void announcedChangesArePassedOnEachAtOnceWithNoTimer()
    {
        m_pasteboard->setAnnouncesChanges(true);
        m_watcher->startWatch();
        QVERIFY(m_watcher->findChildren<QTimer*>().isEmpty());

        m_pasteboard->setItems({textItem(QStringLiteral("first"))});
        m_pasteboard->setItems({textItem(QStringLiteral("second"))});
        QCOMPARE(m_observer->calls.size(), 2);
        QCOMPARE(m_observer->calls[1][0].stringForType(QStringLiteral("public.utf8-plain-text")),
                 QStringLiteral("second"));

        // The ignore flag still takes exactly the next change.
        m_watcher->setIgnoreNextCopy(true);
        m_pasteboard->setItems({textItem(QStringLiteral("own write"))});
        m_pasteboard->setItems({textItem(QStringLiteral("the user's next copy"))});
        QCOMPARE(m_observer->calls.size(), 3);
        QCOMPARE(m_observer->calls[2][0].stringForType(QStringLiteral("public.utf8-plain-text")),
                 QStringLiteral("the user's next copy"));

        m_watcher->stopWatch();
        m_pasteboard->setItems({textItem(QStringLiteral("while paused"))});
        QCOMPARE(m_observer->calls.size(), 3);
    }

    // The watcher counts its own writes: each is skipped, whichever application is active, and
    // the user's next copy is not.
    void copyBacksAreSkippedWhateverIsActiveAndOnlyThey_data()
    {
        QTest::addColumn<int>("copyBacks");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("announced");
        QTest::newRow("one, another application active") << 1 << false << true;
        QTest::newRow("two in a row, another application active") << 2 << false << true;
        QTest::newRow("two in a row, this application active") << 2 << true << true;
        QTest::newRow("two in a row, polled") << 2 << false << false;
    }

    void copyBacksAreSkippedWhateverIsActiveAndOnlyThey()
    {
        QFETCH(int, copyBacks);
        QFETCH(bool, active);
        QFETCH(bool, announced);
        m_pasteboard->setAnnouncesChanges(announced);
        m_watcher->startWatch();
        m_state->setActive(active);
        for (int i = 0; i < copyBacks; ++i)
            m_watcher->writeWithoutRecording({QStringLiteral("public.utf8-plain-text")},
                                             {"written back"});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 0);
        QVERIFY(!m_watcher->ignoreNextCopy());

        m_state->setActive(false);
        m_pasteboard->setItems({textItem(QStringLiteral("the user's next copy"))});
        m_watcher->watchLoop();
        QCOMPARE(m_observer->calls.size(), 1);
        QCOMPARE(m_observer->calls[0][0].stringForType(QStringLiteral("public.utf8-plain-text")),
                 QStringLiteral("the user's next copy"));
    }

private:
    std::unique_ptr<PasteboardMemory> m_pasteboard;
    std::unique_ptr<ApplicationStateMemory> m_state;
    std::unique_ptr<PBWatcher> m_watcher;
    std::unique_ptr<RecordingObserver> m_observer;
};

QTEST_GUILESS_MAIN(TestPBWatcher)
#include "tst_pbwatcher.moc"
