#include "platform/PasteboardTypes.h"
#include "platform/wayland/CompositorGlobals.h"
#include "platform/wayland/DataControlProtocol.h"
#include "platform/wayland/PasteboardWayland.h"

#include <QProcess>
#include <QtTest>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 20'000;

QStringList messages;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    messages.append(message);
    previousHandler(type, context, message);
}
} // namespace

// The start-up of the Wayland clipboard against a real compositor (tests/helpers/sway-session),
// with wlclipowner standing for the other clients; copies end to end are tst_wayland_e2e's.
class TestPasteboardWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("WAYLAND_SESSION_ERROR"))
            QSKIP(qPrintable(qEnvironmentVariable("WAYLAND_SESSION_ERROR")));
        m_protocol =
            DataControlProtocol::offeredBy(CompositorGlobals::list().value_or(QStringList()));
        QVERIFY(m_protocol);
        previousHandler = qInstallMessageHandler(recordMessage);
    }

    void init() { messages.clear(); }

    void cleanup()
    {
        for (const auto& owner : m_owners) {
            owner->kill();
            owner->waitForFinished();
        }
        m_owners.clear();
    }

    void contentAtStartIsPassedOverAndLaterChangesRead()
    {
        QVERIFY(own({u"text/plain=there at start"_s}));
        PasteboardWayland pasteboard(m_protocol);
        int announced = 0;
        pasteboard.setChangeHandler([&announced] { ++announced; });
        pasteboard.start();
        QVERIFY(messages.contains(u"passed over the content on the clipboard at start"_s));
        QCOMPARE(pasteboard.problem(), QString());

        QList<PasteboardItem> items;
        pasteboard.setChangeHandler([&] {
            ++announced;
            items = pasteboard.pasteboardItems();
        });
        QVERIFY(own({u"text/plain=copied later"_s, u"TEXT=copied later"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(pasteboard.changeCount(), 1, timeoutMs);
        QCOMPARE(announced, 1);
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first().dataForType(PasteboardTypes::string), QByteArray("copied later"));
        // The content is given only while the handler runs.
        QCOMPARE(pasteboard.pasteboardItems().size(), 0);
    }

    // Writes made in a row, before the writing thread has set the first, are each a change of
    // their own, the last one on the clipboard: the watcher counts this process's own changes by
    // its writes, and one change too few would pass over another client's next copy as its own.
    void eachWriteIsAChangeOfItsOwn()
    {
        PasteboardWayland pasteboard(m_protocol);
        pasteboard.start();
        QCOMPARE(pasteboard.problem(), QString());
        for (const QByteArray& text : {"first"_ba, "second"_ba, "third"_ba})
            QVERIFY(pasteboard.writeItem({PasteboardTypes::string}, {text}));
        QTRY_COMPARE_WITH_TIMEOUT(pasteboard.changeCount(), 3, timeoutMs);
        QProcess paste;
        paste.start(u"wl-paste"_s, {u"--no-newline"_s});
        QVERIFY(paste.waitForFinished(timeoutMs));
        QCOMPARE(paste.readAllStandardOutput(), "third"_ba);
        QTest::qWait(100);
        QCOMPARE(pasteboard.changeCount(), 3);
    }

    void unavailableIsReportedOnceWithTheFix_data()
    {
        QTest::addColumn<bool>("offersDataControl");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QString>("fix");
        QTest::newRow("no data-control")
            << false << qgetenv("WAYLAND_DISPLAY") << u"VANTREL_WAYLAND_PATH=xwayland"_s;
        QTest::newRow("no compositor")
            << true << "wayland-nonexistent"_ba << u"cannot connect to the Wayland compositor"_s;
    }

    void unavailableIsReportedOnceWithTheFix()
    {
        QFETCH(bool, offersDataControl);
        QFETCH(QByteArray, display);
        QFETCH(QString, fix);
        const QByteArray session = qgetenv("WAYLAND_DISPLAY");
        qputenv("WAYLAND_DISPLAY", display);

        PasteboardWayland pasteboard(offersDataControl ? m_protocol : nullptr);
        QStringList reported;
        pasteboard.setUnavailableHandler(
            [&reported](const QString& problem) { reported << problem; });
        pasteboard.start();
        qputenv("WAYLAND_DISPLAY", session);
        QTRY_COMPARE(reported.count(), 1);
        QTest::qWait(100);
        QCOMPARE(reported.count(), 1);

        const QString problem = reported.first();
        QVERIFY2(problem.contains(fix), qPrintable(problem));
        QCOMPARE(pasteboard.problem(), problem);
        QVERIFY(messages.contains(problem));
        QCOMPARE(pasteboard.changeCount(), 0);
        QVERIFY(!pasteboard.writeItem({PasteboardTypes::string}, {"lost"_ba}));
    }

private:
    bool own(const QStringList& formats)
    {
        m_owners.push_back(std::make_unique<QProcess>());
        QProcess* owner = m_owners.back().get();
        owner->start(QStringLiteral(WLCLIPOWNER_BINARY), formats);
        return QTest::qWaitFor(
            [owner] { return owner->canReadLine() && owner->readLine() == "ready\n"; }, timeoutMs);
    }

    const DataControlProtocol* m_protocol = nullptr;
    std::vector<std::unique_ptr<QProcess>> m_owners;
};

QTEST_GUILESS_MAIN(TestPasteboardWayland)
#include "tst_pasteboardwayland.moc"
