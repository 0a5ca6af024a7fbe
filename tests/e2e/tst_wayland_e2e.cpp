#include "TextField.h"
#include "WaylandSession.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {
// Generous: reading a change runs several wl-paste processes on a busy machine.
constexpr int recordTimeoutMs = 30'000;
constexpr int latencyCopies = 20;

QByteArray pngBytes()
{
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The bytes of a seeded random payload: any byte value, sometimes none at all.
QByteArray randomBytes(QRandomGenerator& random)
{
    QByteArray bytes(random.bounded(4) == 0 ? 0 : random.bounded(1, 4096), Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}
} // namespace

class TestWaylandE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (const QString reason = WaylandSession::unavailableReason(); !reason.isEmpty())
            QSKIP(qPrintable(u"no Wayland compositor to test against: "_s + reason));
        m_session = std::make_unique<WaylandSession>();
        QVERIFY(m_session->start());
    }

    void copyIsRecordedWithItsKindAndPayloads_data()
    {
        QTest::addColumn<QStringList>("copyArguments");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("firstType");

        QTest::newRow("plain text") << QStringList() << QByteArray("hello from Wayland") << 0
                                    << u"public.utf8-plain-text"_s;
        QTest::newRow("html") << QStringList{u"--type"_s, u"text/html"_s}
                              << QByteArray("<b>bold</b> words") << 0 << u"public.html"_s;
        QTest::newRow("png") << QStringList{u"--type"_s, u"image/png"_s} << pngBytes() << 2
                             << u"public.png"_s;
    }

    void copyIsRecordedWithItsKindAndPayloads()
    {
        QFETCH(QStringList, copyArguments);
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(QString, firstType);

        const qsizetype before = m_session->rows().size();
        QCOMPARE(m_session->run(u"wl-copy"_s, copyArguments, bytes).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().size(), before + 1, recordTimeoutMs);

        const QVariantMap row = m_session->rows().first();
        QCOMPARE(row[u"type"_s].toInt(), kind);
        QCOMPARE(row[u"pb_type"_s].toString().split(u'|').first(), firstType);
        QCOMPARE(m_session->payload(row, 0), bytes);
        // On Wayland the source application is unknown, and nothing guesses it.
        QCOMPARE(row[u"app"_s].toString(), QString());
    }

    void copyBackIsReadableAndNotRecordedAgain()
    {
        const QList<QVariantMap> rows = m_session->rows();
        const auto text = std::find_if(rows.cbegin(), rows.cend(), [](const QVariantMap& row) {
            return row[u"keyword"_s].toString() == u"hello from Wayland"_s;
        });
        QVERIFY(text != rows.cend());
        const int seen = m_session->changesSeen();

        QCOMPARE(m_session->vantrelctl({u"copy"_s, (*text)[u"uuid"_s].toString()}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->run(u"wl-paste"_s, {u"--no-newline"_s}).second,
                                  QByteArray("hello from Wayland"), recordTimeoutMs);
        QTRY_VERIFY_WITH_TIMEOUT(m_session->changesSeen() > seen, recordTimeoutMs);

        // A later copy is recorded alone: the copy-back before it was not.
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"after the copy-back"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"after the copy-back"_s, recordTimeoutMs);
        QCOMPARE(m_session->rows().size(), rows.size() + 1);
    }

    // Not a test of speed: prints how long a copy takes from wl-copy to the committed row, beside
    // how long it takes until another client (wl-paste) can read it back.
    void captureLatency()
    {
        const auto readBack = [this](const QString& text) {
            QTRY_COMPARE_WITH_TIMEOUT(m_session->run(u"wl-paste"_s, {u"--no-newline"_s}).second,
                                      text.toUtf8(), recordTimeoutMs);
        };
        const auto recorded = [this](const QString& text) {
            QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(), text,
                                      recordTimeoutMs);
        };
        const QString baseline = latencyOf(u"baseline %1"_s, readBack);
        const QString capture = latencyOf(u"latency %1"_s, recorded);
        qInfo("capture latency on Wayland, %d copies, wl-copy -> row committed: %s "
              "[wl-copy -> read back by wl-paste: %s]",
              latencyCopies, qPrintable(capture), qPrintable(baseline));
    }

    void copyMarkedSecretIsNotRecorded()
    {
        const qsizetype before = m_session->rows().size();
        const int seen = m_session->changesSeen();
        QVERIFY(m_session->own({u"text/plain=hunter2"_s, u"x-kde-passwordManagerHint=secret"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(m_session->changesSeen() > seen, recordTimeoutMs);

        QCOMPARE(m_session->run(u"wl-copy"_s, {u"after the secret"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"after the secret"_s, recordTimeoutMs);
        QCOMPARE(m_session->rows().size(), before + 1);
    }

    void contentOnTheClipboardAtStartIsNotRecorded()
    {
        QVERIFY(m_session->stop());
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"there before the start"_s}).first, 0);
        QVERIFY(m_session->start());
        QVERIFY(m_session->waitForOutput("passed over the content on the clipboard at start"));
        const qsizetype before = m_session->rows().size();

        QCOMPARE(m_session->run(u"wl-copy"_s, {u"copied after the start"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"copied after the start"_s, recordTimeoutMs);
        QCOMPARE(m_session->rows().size(), before + 1);
    }

    // With a Wayland-native application focused when the mini window is called, Enter in the
    // mini window's field pastes the newest item there, once the compositor has given it the
    // focus back; the paste is Vantrel's own copy and records nothing.
    void enterInTheMiniWindowPastesIntoTheFocusedApplication()
    {
        WaylandSession& session = *m_session;
        const auto [copied, output] = session.run(u"wl-copy"_s, {u"pasted on wayland"_s});
        QCOMPARE(copied, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!session.rows().isEmpty() &&
                                     session.rows().first()[u"keyword"_s].toString() ==
                                         u"pasted on wayland"_s,
                                 recordTimeoutMs);
        const qsizetype recorded = session.rows().size();

        TextField field([&session](QProcess& process) {
            session.startAsUser(process, QStringLiteral(TEXTFIELD_BINARY), {});
        });
        QTRY_VERIFY_WITH_TIMEOUT(field.isReady(), recordTimeoutMs);
        QCOMPARE(session.run(QStringLiteral(VANTREL_BINARY), {u"--show-mini"_s}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!field.isActive(), recordTimeoutMs);
        QCOMPARE(session.run(QStringLiteral(WLKEYS_BINARY), {u"Return"_s}).first, 0);

        QTRY_COMPARE_WITH_TIMEOUT(field.text(), u"pasted on wayland"_s, recordTimeoutMs);
        QCOMPARE(field.keys(), QStringList{u"ctrl+v"_s});
        QVERIFY(field.isActive());
        QCOMPARE(session.rows().size(), recorded);
    }

    // An owner that offers a format and never sends it holds up neither what it sent before nor
    // the next copy, and vantrel answers all the while.
    void stallingOwnerHoldsUpNothing()
    {
        const qsizetype before = m_session->rows().size();
        QElapsedTimer timer;
        timer.start();
        QVERIFY(m_session->own({u"text/plain=sent at once"_s, u"text/html=!stall"_s}));
        QCOMPARE(m_session->vantrelctl({u"status"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().size(), before + 1, recordTimeoutMs);
        const QVariantMap row = m_session->rows().first();
        QCOMPARE(row[u"keyword"_s].toString(), u"sent at once"_s);
        QCOMPARE(row[u"pb_type"_s].toString(), u"public.utf8-plain-text"_s);
        // The stalled format was given up when the change's deadline passed.
        QVERIFY2(timer.elapsed() >= 1000, qPrintable(QString::number(timer.elapsed())));

        QCOMPARE(m_session->run(u"wl-copy"_s, {u"after the stall"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"after the stall"_s, recordTimeoutMs);
    }

    // A copy far larger than a pipe holds is recorded whole, and put back whole.
    void hugeCopyIsRecordedAndPutBackWhole()
    {
        QByteArray huge(48 << 20, Qt::Uninitialized);
        for (qsizetype i = 0; i < huge.size(); ++i)
            huge[i] = char('a' + (i * 7 + i / 4099) % 26);
        const qsizetype before = m_session->rows().size();
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"--type"_s, u"text/plain"_s}, huge).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().size(), before + 1, recordTimeoutMs);
        const QVariantMap row = m_session->rows().first();
        QVERIFY(m_session->payload(row, 0) == huge);

        QCOMPARE(m_session->vantrelctl({u"copy"_s, row[u"uuid"_s].toString()}).first, 0);
        QTRY_VERIFY_WITH_TIMEOUT(
            m_session->run(u"wl-paste"_s, {u"--no-newline"_s, u"--type"_s, u"text/plain"_s})
                    .second == huge,
            recordTimeoutMs);
    }

    // Copies of several formats with random bytes (any byte value, empty ones too) are recorded
    // byte for byte, and an item put back offers each of its formats with the same bytes.
    void formatsRoundTripByteForByte()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const QStringList pool = {u"text/html"_s, u"application/x-one"_s, u"application/x-two"_s,
                                  u"application/x-three"_s};
        for (int round = 0; round < 4; ++round) {
            const QString text = u"round %1 of seed %2"_s.arg(round).arg(seed);
            QList<std::pair<QString, QByteArray>> formats = {{u"text/plain"_s, text.toUtf8()}};
            for (const QString& type : pool) {
                if (random.bounded(2))
                    formats.append({type, randomBytes(random)});
            }
            QStringList arguments;
            for (int i = 0; i < formats.size(); ++i) {
                const QString file = m_session->dataFolder() + u"/../format-%1"_s.arg(i);
                QFile out(file);
                QVERIFY(out.open(QIODevice::WriteOnly) && out.write(formats[i].second) >= 0);
                out.setPermissions(out.permissions() | QFileDevice::ReadOther);
                arguments.append(formats[i].first + u"=@"_s + file);
            }
            QVERIFY(m_session->own(arguments));
            QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(), text,
                                      recordTimeoutMs);
            const QVariantMap row = m_session->rows().first();
            QCOMPARE(row[u"pb_type"_s].toString().split(u'|').size(), formats.size());
            for (int i = 0; i < formats.size(); ++i) {
                if (m_session->payload(row, i) != formats[i].second)
                    QFAIL(qPrintable(
                        u"seed %1: %2 recorded wrong"_s.arg(seed).arg(formats[i].first)));
            }

            QCOMPARE(m_session->vantrelctl({u"copy"_s, row[u"uuid"_s].toString()}).first, 0);
            QTRY_VERIFY_WITH_TIMEOUT(m_session->run(u"wl-paste"_s, {u"--list-types"_s})
                                         .second.contains("application/x-vantrel-owner"),
                                     recordTimeoutMs);
            for (const auto& [type, bytes] : std::as_const(formats)) {
                const QByteArray back =
                    m_session->run(u"wl-paste"_s, {u"--no-newline"_s, u"--type"_s, type}).second;
                if (type != u"text/plain"_s && back != bytes)
                    QFAIL(qPrintable(u"seed %1: %2 put back wrong"_s.arg(seed).arg(type)));
            }
        }
    }

    // Nothing of vantrel's runs in a process of its own, and nothing is left when it quits.
    void recordsWithoutChildProcesses()
    {
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"no child for this"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"no child for this"_s, recordTimeoutMs);
        QCOMPARE(m_session->vantrelChildren(), QList<qint64>());
        QVERIFY(m_session->stop());
    }

    // wl-clipboard is a test tool only: vantrel records and puts back without it.
    void recordsWithoutWlClipboard()
    {
        // Only what Vantrel itself needs: its own binaries are started by their full paths.
        QTemporaryDir emptyBin;
        QVERIFY(m_session->start(emptyBin.path()));
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"recorded without wl-clipboard"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"recorded without wl-clipboard"_s, recordTimeoutMs);
        QCOMPARE(m_session->vantrelctl({u"status"_s}).first, 0);
        QVERIFY(m_session->stop());
    }

private:
    // Copies `latencyCopies` texts one after the other, each once `done` has seen the one before;
    // the median and the longest time from the start of wl-copy to `done` returning.
    QString latencyOf(const QString& pattern, const std::function<void(const QString&)>& done)
    {
        QList<qint64> latencies;
        for (int i = 0; i < latencyCopies; ++i) {
            const QString text = pattern.arg(i);
            QElapsedTimer timer;
            timer.start();
            if (m_session->run(u"wl-copy"_s, {text}).first != 0)
                return u"wl-copy failed"_s;
            done(text);
            if (QTest::currentTestFailed())
                return u"not seen"_s;
            latencies.append(timer.elapsed());
        }
        std::sort(latencies.begin(), latencies.end());
        return u"p50 %1 ms, max %2 ms"_s.arg(latencies.at(latencyCopies / 2)).arg(latencies.last());
    }

    std::unique_ptr<WaylandSession> m_session;
};

QTEST_GUILESS_MAIN(TestWaylandE2E)
#include "tst_wayland_e2e.moc"
