#include "support/MessageChannelWormhole.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <sys/stat.h>

namespace {
QJsonObject summary(const QString& uuid, bool marked)
{
    return {{QStringLiteral("uuid"), uuid},
            {QStringLiteral("date"), 1733662800.25},
            {QStringLiteral("app"), QStringLiteral("org.gnome.TextEditor")},
            {QStringLiteral("desc"), QStringLiteral("first line\nsecond \"quoted\" line")},
            {QStringLiteral("marked"), marked}};
}

// A bus connection that was never opened: the channel writes files and announces nothing.
QDBusConnection noBus()
{
    return QDBusConnection(QStringLiteral("vantrel-test-no-bus"));
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

int modeOf(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777)
                                                                      : -1;
}

// Delivers an announcement the way the bus does, for tests that run without one.
void announce(MessageChannelWormhole& channel, const QString& identifier)
{
    QVERIFY(QMetaObject::invokeMethod(&channel, "onPosted", Q_ARG(QString, identifier)));
}
} // namespace

class TestMessageChannelWormhole : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_channel = std::make_unique<MessageChannelWormhole>(folder(), noBus());
    }

    void messageReadsBackAsPassed_data()
    {
        QTest::addColumn<QJsonValue>("message");
        QTest::newRow("empty text") << QJsonValue(QString());
        QTest::newRow("text with quotes, breaks and non-ASCII")
            << QJsonValue(QStringLiteral("\"a\"\n\tb \u00e9\u4e2d\U0001F600 ]"));
        QTest::newRow("summary") << QJsonValue(summary(QStringLiteral("u1"), true));
        QTest::newRow("list of summaries") << QJsonValue(
            QJsonArray{summary(QStringLiteral("u1"), false), summary(QStringLiteral("u2"), true)});
        QTest::newRow("empty list") << QJsonValue(QJsonArray());
    }
    void messageReadsBackAsPassed()
    {
        QFETCH(QJsonValue, message);
        m_channel->passMessageObject(message, QStringLiteral("response.update.recent"));
        QCOMPARE(m_channel->readMessage(QStringLiteral("response.update.recent")),
                 std::optional<QJsonValue>(message));
    }

    void fileIsUtf8Json()
    {
        m_channel->passMessageObject(QJsonValue(QString()), QStringLiteral("app.launched"));
        m_channel->passMessageObject(QJsonValue(QStringLiteral("\u00e9")), QStringLiteral("t"));
        QCOMPARE(readFile(QStringLiteral("app.launched")), QByteArray("\"\""));
        QCOMPARE(readFile(QStringLiteral("t")), QByteArray("\"\xc3\xa9\""));
    }

    void malformedFileGivesNoMessage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("white space") << QByteArray(" \n ");
        QTest::newRow("garbage") << QByteArray("\x00\xff\xfe binary", 10);
        QTest::newRow("truncated object") << QByteArray("{\"uuid\":\"u1\",\"date\":");
        QTest::newRow("number") << QByteArray("42");
        QTest::newRow("boolean") << QByteArray("true");
        QTest::newRow("null") << QByteArray("null");
        QTest::newRow("two values") << QByteArray("\"a\"],[\"b\"");
        QTest::newRow("two arrays") << QByteArray("[1] [2]");
        QTest::newRow("closing bracket only") << QByteArray("]");
        QTest::newRow("deep nesting") << QByteArray(100000, '[') + QByteArray(100000, ']');
        QTest::newRow("too large")
            << '"' + QByteArray(MessageChannelWormhole::MaximumMessageSize, 'x') + '"';
    }
    void malformedFileGivesNoMessage()
    {
        QFETCH(QByteArray, bytes);
        writeRaw(path(QStringLiteral("copy")), bytes);
        QCOMPARE(m_channel->readMessage(QStringLiteral("copy")), std::nullopt);
    }

    // A FIFO matters most: opening one for reading waits for a writer, the channel must not.
    void entryThatIsNotAMessageFileGivesNoMessage_data()
    {
        QTest::addColumn<QString>("entry");
        for (const char* entry : {"missing", "link to a message elsewhere", "FIFO", "folder"})
            QTest::newRow(entry) << QString::fromLatin1(entry);
    }
    void entryThatIsNotAMessageFileGivesNoMessage()
    {
        QFETCH(QString, entry);
        const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere.json"));
        writeRaw(elsewhere, "{\"uuid\":\"planted\"}");
        QVERIFY(QDir().mkpath(folder()));
        const QString copy = path(QStringLiteral("copy"));
        if (entry == QLatin1String("link to a message elsewhere"))
            QVERIFY(QFile::link(elsewhere, copy));
        else if (entry == QLatin1String("FIFO"))
            QCOMPARE(::mkfifo(QFile::encodeName(copy).constData(), 0600), 0);
        else if (entry == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(copy));
        QCOMPARE(m_channel->readMessage(QStringLiteral("copy")), std::nullopt);
    }

    void writingReplacesPlantedLinkNotItsTarget()
    {
        const QString elsewhere = m_dir->filePath(QStringLiteral("elsewhere.txt"));
        writeRaw(elsewhere, "keep me");
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(QFile::link(elsewhere, path(QStringLiteral("insert"))));

        m_channel->passMessageObject(summary(QStringLiteral("u1"), false),
                                     QStringLiteral("insert"));

        QCOMPARE(readPath(elsewhere), QByteArray("keep me"));
        QVERIFY(!QFileInfo(path(QStringLiteral("insert"))).isSymLink());
        QCOMPARE(m_channel->readMessage(QStringLiteral("insert")),
                 std::optional<QJsonValue>(summary(QStringLiteral("u1"), false)));
    }

    void identifierOfTheLongestLengthIsAccepted()
    {
        const QString longest(200, u'a');
        QVERIFY(MessageChannelWormhole::isValidIdentifier(longest));
        m_channel->passMessageObject(QJsonValue(QStringLiteral("x")), longest);
        QCOMPARE(m_channel->readMessage(longest), std::optional<QJsonValue>(QStringLiteral("x")));
    }

    void identifierThatIsNotAPlainNameIsRefused_data()
    {
        QTest::addColumn<QString>("identifier");
        QTest::newRow("empty") << QString();
        QTest::newRow("dot") << QStringLiteral(".");
        QTest::newRow("dot dot") << QStringLiteral("..");
        QTest::newRow("parent path") << QStringLiteral("../escaped");
        QTest::newRow("slash") << QStringLiteral("a/b");
        QTest::newRow("absolute") << QStringLiteral("/tmp/escaped");
        QTest::newRow("hidden") << QStringLiteral(".hidden");
        QTest::newRow("space") << QStringLiteral("a b");
        QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        QTest::newRow("non-ASCII letter") << QStringLiteral("caf\u00e9");
        QTest::newRow("too long") << QString(201, u'a');
    }
    void identifierThatIsNotAPlainNameIsRefused()
    {
        QFETCH(QString, identifier);
        QVERIFY(!MessageChannelWormhole::isValidIdentifier(identifier));
        m_channel->passMessageObject(QJsonValue(QStringLiteral("x")), identifier);
        QVERIFY(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QCOMPARE(m_channel->readMessage(identifier), std::nullopt);

        int calls = 0;
        m_channel->listenForMessage(identifier, this, [&](const auto&) { ++calls; });
        announce(*m_channel, identifier);
        QCoreApplication::processEvents();
        QCOMPARE(calls, 0);
    }

    void foldersAreCreatedOwnerOnlyAndFilesAreOwnerOnly()
    {
        m_channel->passMessageObject(QJsonValue(QString()), QStringLiteral("app.launched"));
        QCOMPARE(modeOf(m_dir->filePath(QStringLiteral("data"))), 0700);
        QCOMPARE(modeOf(folder()), 0700);
        QCOMPARE(modeOf(path(QStringLiteral("app.launched"))), 0600);
    }

    void replacingAnOpenFileNarrowsItsModeAndLeavesNoTemporaryFile()
    {
        writeRaw(path(QStringLiteral("mark")), "old");
        QVERIFY(QFile::setPermissions(path(QStringLiteral("mark")),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ReadGroup | QFileDevice::ReadOther));

        m_channel->passMessageObject(QJsonArray(), QStringLiteral("mark"));

        QCOMPARE(modeOf(path(QStringLiteral("mark"))), 0600);
        QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{QStringLiteral("mark.archive")});
    }

    // A reader racing a writer sees either the old or the new message, never a partial one.
    void concurrentReaderNeverSeesAPartialMessage()
    {
        const QJsonValue first(QString(512 * 1024, u'a'));
        const QJsonValue second(QJsonArray{QString(256 * 1024, u'b'), QString(256 * 1024, u'c')});
        m_channel->passMessageObject(first, QStringLiteral("insert"));
        std::atomic<bool> stop = false;
        std::unique_ptr<QThread> writer(QThread::create([&] {
            for (int i = 0; !stop; ++i)
                m_channel->passMessageObject(i % 2 ? first : second, QStringLiteral("insert"));
        }));
        writer->start();
        int torn = 0;
        for (int i = 0; i < 300; ++i) {
            const std::optional<QJsonValue> read = m_channel->readMessage(QStringLiteral("insert"));
            torn += read != first && read != second;
        }
        stop = true;
        QVERIFY(writer->wait(10000));
        QCOMPARE(torn, 0);
    }

    void messagesFromSeveralThreadsAreAllWritten()
    {
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back(QThread::create([this, t] {
                for (int i = 0; i < 25; ++i)
                    m_channel->passMessageObject(summary(QString::number(i), i % 2),
                                                 QStringLiteral("thread%1.%2").arg(t).arg(i));
            }));
            threads.back()->start();
        }
        for (const auto& thread : threads)
            QVERIFY(thread->wait(10000));
        for (int t = 0; t < 4; ++t)
            for (int i = 0; i < 25; ++i)
                QCOMPARE(m_channel->readMessage(QStringLiteral("thread%1.%2").arg(t).arg(i)),
                         std::optional<QJsonValue>(summary(QString::number(i), i % 2)));
    }

    void messageWithoutPayloadRemovesTheStaleMessage()
    {
        m_channel->passMessageObject(summary(QStringLiteral("old"), false), QStringLiteral("copy"));
        m_channel->passMessageObject(QJsonValue(), QStringLiteral("copy"));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("copy"))));
        QCOMPARE(m_channel->readMessage(QStringLiteral("copy")), std::nullopt);
    }

    void numbersAndBooleansAreNotWritten_data()
    {
        QTest::addColumn<QJsonValue>("message");
        QTest::newRow("number") << QJsonValue(3.5);
        QTest::newRow("boolean") << QJsonValue(true);
    }
    void numbersAndBooleansAreNotWritten()
    {
        QFETCH(QJsonValue, message);
        m_channel->passMessageObject(QJsonValue(QStringLiteral("older")), QStringLiteral("mark"));
        m_channel->passMessageObject(message, QStringLiteral("mark"));
        QCOMPARE(m_channel->readMessage(QStringLiteral("mark")),
                 std::optional<QJsonValue>(QJsonValue(QStringLiteral("older"))));
    }

    void listenerGetsTheMessageOnItsContextThread()
    {
        QThread contextThread;
        QObject context;
        context.moveToThread(&contextThread);
        contextThread.start();
        std::atomic<QThread*> calledOn = nullptr;
        std::optional<QJsonValue> received;
        m_channel->listenForMessage(QStringLiteral("insert"), &context, [&](const auto& message) {
            received = message;
            calledOn = QThread::currentThread();
        });
        m_channel->passMessageObject(summary(QStringLiteral("u1"), true), QStringLiteral("insert"));
        announce(*m_channel, QStringLiteral("insert"));
        QTRY_VERIFY(calledOn != nullptr);
        QCOMPARE(calledOn.load(), &contextThread);
        QCOMPARE(received, std::optional<QJsonValue>(summary(QStringLiteral("u1"), true)));
        contextThread.quit();
        QVERIFY(contextThread.wait(5000));
    }

    void listenerGetsNoObjectWhenTheFileIsMissing()
    {
        int calls = 0;
        std::optional<QJsonValue> received = QJsonValue(QStringLiteral("unset"));
        m_channel->listenForMessage(QStringLiteral("copy"), this, [&](const auto& message) {
            received = message;
            ++calls;
        });
        announce(*m_channel, QStringLiteral("copy"));
        QTRY_COMPARE(calls, 1);
        QCOMPARE(received, std::nullopt);
    }

    void listenerOfAnotherIdentifierOrOfAGoneContextIsNotCalled()
    {
        int calls = 0;
        auto context = std::make_unique<QObject>();
        m_channel->listenForMessage(QStringLiteral("insert"), context.get(),
                                    [&](const auto&) { ++calls; });
        m_channel->listenForMessage(QStringLiteral("delete"), this, [&](const auto&) { ++calls; });
        announce(*m_channel, QStringLiteral("insert"));
        context.reset();
        announce(*m_channel, QStringLiteral("insert"));
        QCoreApplication::processEvents();
        QCOMPARE(calls, 0);
    }

    void flushWithoutBusCompletes()
    {
        bool done = false;
        m_channel->flush(this, [&] { done = true; });
        QTRY_VERIFY(done);
    }

private:
    QString folder() const
    {
        return m_dir->filePath(QStringLiteral("data/KP3W7H1Y6D.wormhole/wormhole"));
    }
    QString path(const QString& identifier) const
    {
        return folder() + u'/' + identifier + QStringLiteral(".archive");
    }
    QByteArray readFile(const QString& identifier) const { return readPath(path(identifier)); }
    static QByteArray readPath(const QString& filePath)
    {
        QFile file(filePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageChannelWormhole> m_channel;
};

QTEST_GUILESS_MAIN(TestMessageChannelWormhole)
#include "tst_messagechannelwormhole.moc"
