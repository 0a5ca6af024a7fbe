#include "platform/xdg/SingleInstance.h"

#include <QFile>
#include <QFuture>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

Q_DECLARE_METATYPE(SingleInstance::Claim)

namespace {
constexpr int handOverMs = 5000;

// A later start, on another thread so that this one can serve it.
QFuture<SingleInstance::Claim> startLater(const QString& folder, const QByteArray& request,
                                          int timeoutMs = handOverMs)
{
    return QtConcurrent::run(
        [folder, request, timeoutMs] { return SingleInstance(folder).claim(request, timeoutMs); });
}
} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_runtime = std::make_unique<QTemporaryDir>();
        m_folder = m_runtime->filePath(QStringLiteral("vantrel"));
    }

    void laterStartHandsItsRequestToTheRunningOne()
    {
        SingleInstance running(m_folder);
        QCOMPARE(running.claim("reopen", handOverMs), SingleInstance::Claim::Primary);
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::requestReceived);

        QFuture<SingleInstance::Claim> later = startLater(m_folder, "show-mini");
        QTRY_VERIFY(later.isFinished());
        QCOMPARE(later.result(), SingleInstance::Claim::Delivered);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toByteArray(), QByteArray("show-mini"));
    }

    void laterStartWaitsForTheRunningOneToListen()
    {
        SingleInstance running(m_folder);
        QCOMPARE(running.claim("reopen", handOverMs), SingleInstance::Claim::Primary);
        QSignalSpy received(&running, &SingleInstance::requestReceived);
        QFuture<SingleInstance::Claim> later = startLater(m_folder, "quit");
        QTimer::singleShot(300, &running, [&running] { running.listen(); });

        QTRY_VERIFY(later.isFinished());
        QCOMPARE(later.result(), SingleInstance::Claim::Delivered);
        QCOMPARE(received.size(), 1);
    }

    void runningOneThatNeverServesFailsTheLaterStart()
    {
        SingleInstance running(m_folder);
        QCOMPARE(running.claim("reopen", handOverMs), SingleInstance::Claim::Primary);
        QFuture<SingleInstance::Claim> later = startLater(m_folder, "reopen", 300);
        QTRY_VERIFY(later.isFinished());
        QCOMPARE(later.result(), SingleInstance::Claim::Failed);
    }

    void nextStartRunsOnceTheRunningOneHasEnded()
    {
        {
            SingleInstance running(m_folder);
            QCOMPARE(running.claim("reopen", handOverMs), SingleInstance::Claim::Primary);
            QVERIFY(running.listen());
        }
        // A socket file left behind by an instance that crashed must not stop the next one.
        QFile stale(m_folder + QStringLiteral("/instance.socket"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        SingleInstance next(m_folder);
        QCOMPARE(next.claim("reopen", handOverMs), SingleInstance::Claim::Primary);
        QVERIFY(next.listen());
        QFuture<SingleInstance::Claim> later = startLater(m_folder, "reopen");
        QTRY_VERIFY(later.isFinished());
        QCOMPARE(later.result(), SingleInstance::Claim::Delivered);
    }

    void startsAtTheSameTimeMakeOneRunningInstance()
    {
        // Every start stays alive, so a lock once taken is never given back.
        std::vector<std::unique_ptr<SingleInstance>> instances;
        QList<QFuture<SingleInstance::Claim>> claims;
        for (int i = 0; i < 4; ++i) {
            instances.push_back(std::make_unique<SingleInstance>(m_folder));
            SingleInstance* instance = instances.back().get();
            claims << QtConcurrent::run([instance] { return instance->claim("reopen", 500); });
        }
        int primaries = 0;
        for (QFuture<SingleInstance::Claim>& claim : claims) {
            QTRY_VERIFY(claim.isFinished());
            primaries += claim.result() == SingleInstance::Claim::Primary ? 1 : 0;
        }
        QCOMPARE(primaries, 1);
    }

    void folderOthersCanReachIsRefused_data()
    {
        QTest::addColumn<QFile::Permissions>("mode");
        QTest::addColumn<SingleInstance::Claim>("claim");

        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QTest::newRow("0700") << owner << SingleInstance::Claim::Primary;
        QTest::newRow("0755") << (owner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                  QFile::ExeOther)
                              << SingleInstance::Claim::Failed;
        QTest::newRow("0770") << (owner | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup)
                              << SingleInstance::Claim::Failed;
    }

    void folderOthersCanReachIsRefused()
    {
        QFETCH(QFile::Permissions, mode);
        QFETCH(SingleInstance::Claim, claim);

        QVERIFY(QDir().mkdir(m_folder));
        QVERIFY(QFile::setPermissions(m_folder, mode));
        QCOMPARE(SingleInstance(m_folder).claim("reopen", 300), claim);
    }

private:
    std::unique_ptr<QTemporaryDir> m_runtime;
    QString m_folder;
};

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
