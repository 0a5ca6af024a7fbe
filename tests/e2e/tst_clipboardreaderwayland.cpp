#include "platform/wayland/ClipboardReaderWayland.h"
#include "platform/wayland/ClipboardWriterWayland.h"
#include "platform/wayland/CompositorGlobals.h"
#include "platform/wayland/DataControlProtocol.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
constexpr int timeoutMs = 20'000;
const QByteArray ownType = "application/x-vantrel-test-owner"_ba;
} // namespace

// The data-control reader and writer against a real compositor (tests/helpers/sway-session),
// with wlclipowner standing for the other clients.
class TestClipboardReaderWayland : public QObject
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
    }

    void init()
    {
        m_deliveries.clear();
        m_reader = std::make_unique<ClipboardReaderWayland>(*m_protocol, ownType,
                                                            [this](QList<PasteboardItem> items) {
                                                                const QMutexLocker lock(&m_mutex);
                                                                m_deliveries.append(items);
                                                            });
        QString problem;
        QVERIFY2(m_reader->start(&problem), qPrintable(problem));
    }

    void cleanup()
    {
        m_reader.reset();
        for (const auto& owner : m_owners) {
            owner->kill();
            owner->waitForFinished();
        }
        m_owners.clear();
    }

    // An owner that keeps sending is read past the one-second deadline, to the end.
    void formatThatKeepsComingIsReadWhole()
    {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(own({u"text/plain=!trickle"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(deliveries().size(), 1, timeoutMs);
        QVERIFY(timer.elapsed() >= 2500);
        QCOMPARE(
            textOf(deliveries().first()),
            u"piece 0 piece 1 piece 2 piece 3 piece 4 piece 5 piece 6 piece 7 piece 8 piece 9 "_s);
    }

    // Owners taking the clipboard one after the other, some stalling, at random moments: each
    // change is delivered once and in order, a change overtaken before it was read gives nothing,
    // and never another change's content.
    void changesAreDeliveredInOrderOnce()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const int owners = 6;
        QStringList texts;
        for (int i = 0; i < owners; ++i) {
            texts.append(u"owner %1 of seed %2"_s.arg(i).arg(seed));
            const bool stalls = i < owners - 1 && random.bounded(3) == 0;
            QVERIFY(own({u"text/plain="_s + texts.last(),
                         stalls ? u"text/html=!stall"_s : u"text/html=<p>"_s + texts.last()}));
            QTest::qWait(int(random.bounded(400)));
        }
        QTRY_COMPARE_WITH_TIMEOUT(deliveries().size(), owners, timeoutMs);
        const QList<QList<PasteboardItem>> delivered = deliveries();
        for (int i = 0; i < owners; ++i) {
            const QString text = textOf(delivered[i]);
            if (!text.isEmpty() && text != texts[i])
                QFAIL(qPrintable(u"seed %1: change %2 gave \"%3\""_s.arg(seed).arg(i).arg(text)));
        }
        QVERIFY2(textOf(delivered.last()) == texts.last(), qPrintable(u"seed %1"_s.arg(seed)));
    }

    // This process's own writes are delivered without being read, and other clients can paste
    // them in full, even ones that stop reading half-way, without ending this process.
    void ownWritesAreServedAndNotRead()
    {
        ClipboardWriterWayland writer(*m_protocol, ownType);
        QString problem;
        QVERIFY2(writer.start(&problem), qPrintable(problem));
        const QByteArray big(8 << 20, 'w');
        QVERIFY(writer.write({{u"text/plain"_s, big}, {u"text/html"_s, "<b>w</b>"_ba}}));
        QTRY_COMPARE_WITH_TIMEOUT(deliveries().size(), 1, timeoutMs);
        QVERIFY(deliveries().first().isEmpty());

        QCOMPARE(paste(u"wl-paste --no-newline --type text/plain | head -c 3"_s), "www"_ba);
        QCOMPARE(paste(u"wl-paste --no-newline --type text/plain"_s), big);
        QCOMPARE(paste(u"wl-paste --no-newline --type text/html"_s), "<b>w</b>"_ba);
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

    QList<QList<PasteboardItem>> deliveries()
    {
        const QMutexLocker lock(&m_mutex);
        return m_deliveries;
    }

    static QString textOf(const QList<PasteboardItem>& items)
    {
        return items.isEmpty()
                   ? QString()
                   : items.first().stringForType(u"public.utf8-plain-text"_s).value_or(QString());
    }

    static QByteArray paste(const QString& command)
    {
        QProcess shell;
        shell.start(u"sh"_s, {u"-c"_s, command});
        shell.waitForFinished(timeoutMs);
        return shell.readAllStandardOutput();
    }

    const DataControlProtocol* m_protocol = nullptr;
    std::unique_ptr<ClipboardReaderWayland> m_reader;
    std::vector<std::unique_ptr<QProcess>> m_owners;
    QMutex m_mutex;
    QList<QList<PasteboardItem>> m_deliveries;
};

QTEST_GUILESS_MAIN(TestClipboardReaderWayland)
#include "tst_clipboardreaderwayland.moc"
