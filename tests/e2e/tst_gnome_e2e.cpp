#include "WaylandSession.h"

#include <QBuffer>
#include <QImage>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// Generous: Xwayland, mutter and Qt start slowly on a busy machine.
constexpr int recordTimeoutMs = 30'000;

QByteArray pngBytes()
{
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

// Vantrel beside GNOME's compositor, which offers no data-control protocol: it runs through
// Xwayland, and mutter carries the clipboard between its Wayland-native clients and X11.
class TestGnomeE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (const QString reason = WaylandSession::unavailableReason(); !reason.isEmpty())
            QSKIP(qPrintable(u"no GNOME compositor to test against: "_s + reason));
        // Vantrel chooses Qt's platform itself.
        m_session = std::make_unique<WaylandSession>(QString());
        // Wayland-native clients take the clipboard only with the keyboard focus.
        QVERIFY(m_session->startHelper(QStringLiteral(MUTTER_KEYBOARD_BINARY)));
        QVERIFY(m_session->start({}, false));
        QVERIFY(m_session->waitForOutput("recording through Xwayland"));
    }

    void waylandClientsCopyIsRecordedWithItsKindAndPayloads_data()
    {
        QTest::addColumn<QStringList>("copyArguments");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("type");

        QTest::newRow("plain text")
            << QStringList() << QByteArray("hello from GNOME") << 0 << u"public.utf8-plain-text"_s;
        QTest::newRow("html") << QStringList{u"--type"_s, u"text/html"_s}
                              << QByteArray("<i>leaning</i> words") << 0 << u"public.html"_s;
        QTest::newRow("png") << QStringList{u"--type"_s, u"image/png"_s} << pngBytes() << 2
                             << u"public.png"_s;
    }

    void waylandClientsCopyIsRecordedWithItsKindAndPayloads()
    {
        QFETCH(QStringList, copyArguments);
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(QString, type);

        const qsizetype before = m_session->rows().size();
        // wl-copy finds no data-control here: it copies as an application with a window would.
        QCOMPARE(m_session->run(u"wl-copy"_s, copyArguments, bytes).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().size(), before + 1, recordTimeoutMs);
        const QVariantMap row = m_session->rows().first();
        QCOMPARE(row[u"type"_s].toInt(), kind);
        // mutter lists the text forms of a text first, whatever the Wayland owner's order.
        const QStringList types = row[u"pb_type"_s].toString().split(u'|');
        QVERIFY2(types.contains(type), qPrintable(types.join(u' ')));
        QCOMPARE(m_session->payload(row, int(types.indexOf(type))), bytes);
    }

    void itemPutBackIsPastedByWaylandClients()
    {
        const QList<QVariantMap> rows = m_session->rows();
        const auto text = std::find_if(rows.cbegin(), rows.cend(), [](const QVariantMap& row) {
            return row[u"keyword"_s].toString() == u"hello from GNOME"_s;
        });
        QVERIFY(text != rows.cend());
        QCOMPARE(m_session->vantrelctl({u"copy"_s, (*text)[u"uuid"_s].toString()}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->run(u"wl-paste"_s, {u"--no-newline"_s}).second,
                                  QByteArray("hello from GNOME"), recordTimeoutMs);

        // The copy-back was not recorded again: the next copy is the only new row.
        QCOMPARE(m_session->run(u"wl-copy"_s, {u"after the copy-back"_s}).first, 0);
        QTRY_COMPARE_WITH_TIMEOUT(m_session->rows().first()[u"keyword"_s].toString(),
                                  u"after the copy-back"_s, recordTimeoutMs);
        QCOMPARE(m_session->rows().size(), rows.size() + 1);
        QVERIFY(m_session->stop());
    }

    // Made to use data-control where the compositor has none, vantrel says why and how to mend
    // it, and keeps answering.
    void dataControlWithoutTheProtocolSaysWhy()
    {
        m_session->setVariable(u"VANTREL_WAYLAND_PATH"_s, u"data-control"_s);
        QVERIFY(m_session->start({}, false));
        QVERIFY(m_session->waitForOutput("the compositor offers no data-control protocol"));
        QVERIFY(m_session->waitForOutput("VANTREL_WAYLAND_PATH=xwayland"));
        QCOMPARE(m_session->vantrelctl({u"status"_s}).first, 0);
        QVERIFY(m_session->isRunning());
        QVERIFY(m_session->stop());
    }

private:
    std::unique_ptr<WaylandSession> m_session;
};

QTEST_GUILESS_MAIN(TestGnomeE2E)
#include "tst_gnome_e2e.moc"
