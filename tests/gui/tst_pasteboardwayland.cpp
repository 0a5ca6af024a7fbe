#include "platform/PasteboardTypes.h"
#include "platform/doubles/ApplicationStateMemory.h"
#include "platform/wayland/PasteboardWayland.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
// A wl-paste whose clipboard the test fills: "types" lists the offered types, "data/<TYPE>" holds
// each one's bytes, every line added to "announcements" is one change, and
// "no-data-control" makes the watch fail as on a compositor without it. Each call is logged.
const QByteArray fakeWlPaste = R"sh(#!/bin/sh
dir=$(dirname "$0")
echo "$*" >> "$dir/calls"
case "$1" in
  --watch)
    if [ -f "$dir/no-data-control" ]; then
      echo "Watch mode requires a compositor that supports the wlroots data-control protocol" >&2
      exit 1
    fi
    exec tail -n +1 -f "$dir/announcements" ;;
  --list-types)
    [ -f "$dir/types" ] || { echo "No selection" >&2; exit 1; }
    exec cat "$dir/types" ;;
  --no-newline)
    exec cat "$dir/data/$3" ;;
esac
exit 2
)sh";

QStringList messages;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    messages.append(message);
    previousHandler(type, context, message);
}
} // namespace

// The watch, the reads and the start-up of the Wayland clipboard, against a stand-in wl-paste;
// the real one, under sway, is tst_wayland_e2e's.
class TestPasteboardWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_bin.isValid());
        writeFile(u"wl-paste"_s, fakeWlPaste);
        QFile(m_bin.filePath(u"wl-paste"_s)).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        m_path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);
        previousHandler = qInstallMessageHandler(recordMessage);
    }

    void init()
    {
        for (const QString& name :
             {u"types"_s, u"type-text_plain"_s, u"calls"_s, u"no-data-control"_s})
            QFile::remove(m_bin.filePath(name));
        writeFile(u"announcements"_s, {});
        messages.clear();
    }

    void contentAtStartIsPassedOverAndLaterChangesRead()
    {
        offerText("there at start");
        ApplicationStateMemory state;
        PasteboardWayland pasteboard(QGuiApplication::clipboard(), state);
        pasteboard.start();
        QTRY_VERIFY(calls().contains(u"--watch"_s));

        announce(); // the content at start
        QTRY_VERIFY(messages.contains(u"passed over the content on the clipboard at start"_s));
        QCOMPARE(pasteboard.changeCount(), 0);

        offerText("copied later");
        announce();
        QTRY_COMPARE(pasteboard.changeCount(), 1);
        const QList<PasteboardItem> items = pasteboard.pasteboardItems();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first().dataForType(PasteboardTypes::string), QByteArray("copied later"));
    }

    void unavailableIsReportedOnceWithTheFix_data()
    {
        QTest::addColumn<bool>("wlPasteFound");
        QTest::addColumn<QString>("fix");
        QTest::newRow("wl-paste missing") << false << u"apt install wl-clipboard"_s;
        QTest::newRow("no data-control") << true << u"QT_QPA_PLATFORM=xcb"_s;
    }

    void unavailableIsReportedOnceWithTheFix()
    {
        QFETCH(bool, wlPasteFound);
        QFETCH(QString, fix);
        writeFile(u"no-data-control"_s, {});
        if (!wlPasteFound)
            qputenv("PATH", "/nonexistent");

        ApplicationStateMemory state;
        PasteboardWayland pasteboard(QGuiApplication::clipboard(), state);
        QStringList reported;
        pasteboard.setUnavailableHandler(
            [&reported](const QString& problem) { reported << problem; });
        pasteboard.start();
        QTRY_COMPARE(reported.count(), 1);
        qputenv("PATH", QFile::encodeName(m_bin.path()) + ':' + m_path);

        const QString problem = reported.first();
        QVERIFY2(problem.contains(fix), qPrintable(problem));
        QCOMPARE(pasteboard.problem(), problem);
        if (wlPasteFound)
            QVERIFY2(problem.contains(u"Watch mode requires"_s), qPrintable(problem));
        QCOMPARE(pasteboard.changeCount(), 0);
    }

private:
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    void offerText(const QByteArray& text)
    {
        QDir(m_bin.path()).mkpath(u"data/text"_s);
        writeFile(u"data/text/plain"_s, text);
        writeFile(u"types"_s, "text/plain\nTEXT\n");
    }

    void announce()
    {
        QFile file(m_bin.filePath(u"announcements"_s));
        QVERIFY(file.open(QIODevice::Append));
        file.write("\n");
    }

    QString calls() const
    {
        QFile file(m_bin.filePath(u"calls"_s));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_bin;
    QByteArray m_path;
};

QTEST_MAIN(TestPasteboardWayland)
#include "tst_pasteboardwayland.moc"
