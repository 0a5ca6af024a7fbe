#include "support/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstddef>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
mode_t modeOf(const QString& path)
{
    struct stat status = {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777
                                                                      : mode_t(-1);
}

bool writePlain(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Makes every later `call` of this process fail with EIO, as a failing disk would.
bool refuseSystemCall(int call)
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(call), 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}
} // namespace

class TestPrivateFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void foldersMadeArePrivateAndFoldersFoundAreLeftAlone();
    void writtenFileIsPrivateAndReplacesTheOldOne();
    void symlinkedTargetIsRefused_data();
    void symlinkedTargetIsRefused();
    void failedWriteNeverLeavesATruncatedFile_data();
    void failedWriteNeverLeavesATruncatedFile();
    void removalOnlyInsideTheFolder_data();
    void removalOnlyInsideTheFolder();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void TestPrivateFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->filePath(u"private"_s);
}

void TestPrivateFiles::foldersMadeArePrivateAndFoldersFoundAreLeftAlone()
{
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ExeOwner | QFile::ReadOther |
                                                     QFile::ExeOther));
    const QString nested = m_folder + u"/a/b"_s;
    QVERIFY(PrivateFiles::makeFolder(nested));
    QVERIFY(PrivateFiles::makeFolder(nested));
    for (const QString& folder : {m_folder, m_folder + u"/a"_s, nested})
        QCOMPARE(modeOf(folder), mode_t(0700));
    QCOMPARE(modeOf(m_dir->path()), mode_t(0705));

    const QString file = m_dir->filePath(u"file"_s);
    QVERIFY(writePlain(file, "x"));
    QVERIFY(!PrivateFiles::makeFolder(file + u"/below"_s));
}

void TestPrivateFiles::writtenFileIsPrivateAndReplacesTheOldOne()
{
    QVERIFY(PrivateFiles::makeFolder(m_folder));
    const QString path = m_folder + u"/config"_s;
    QVERIFY(writePlain(path, "old and longer"));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));

    QVERIFY(PrivateFiles::writeFile(path, "new"));

    QCOMPARE(contentsOf(path), "new"_ba);
    QCOMPARE(modeOf(path), mode_t(0600));
    QCOMPARE(entriesOf(m_folder), QStringList{u"config"_s});
}

void TestPrivateFiles::symlinkedTargetIsRefused_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("link to a file elsewhere") << true;
    QTest::newRow("dangling link") << false;
}

void TestPrivateFiles::symlinkedTargetIsRefused()
{
    QFETCH(bool, targetExists);
    QVERIFY(PrivateFiles::makeFolder(m_folder));
    const QString elsewhere = m_dir->filePath(u"elsewhere"_s);
    if (targetExists)
        QVERIFY(writePlain(elsewhere, "keep me"));
    const QString link = m_folder + u"/config"_s;
    QVERIFY(QFile::link(elsewhere, link));

    QVERIFY(!PrivateFiles::writeFile(link, "secret"));

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo::exists(elsewhere), targetExists);
    if (targetExists)
        QCOMPARE(contentsOf(elsewhere), "keep me"_ba);
    QCOMPARE(entriesOf(m_folder), QStringList{u"config"_s});
}

void TestPrivateFiles::failedWriteNeverLeavesATruncatedFile_data()
{
    QTest::addColumn<int>("refusedCall"); // 0: the write itself fails
    QTest::newRow("write cut half-way by a file-size limit") << 0;
    QTest::newRow("write fails") << int(SYS_write);
    QTest::newRow("sync fails") << int(SYS_fdatasync);
    QTest::newRow("close fails") << int(SYS_close);
    QTest::newRow("rename fails") << int(SYS_rename);
}

// A file-size limit below the new content's size makes the write fail half-way, as a full disk
// would; a refused system call fails as a disk's I/O error would. The failure is set up in a
// child process, so that nothing else of the test runs under it.
void TestPrivateFiles::failedWriteNeverLeavesATruncatedFile()
{
    QFETCH(int, refusedCall);
    QVERIFY(PrivateFiles::makeFolder(m_folder));
    const QString path = m_folder + u"/config"_s;
    const QByteArray previous = "the previous contents";
    QVERIFY(writePlain(path, previous));
    const QByteArray longer(4096, 'n');

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit tight{rlim_t(previous.size()), rlim_t(previous.size())};
        const bool failing = refusedCall != 0 ? refuseSystemCall(refusedCall)
                                              : ::setrlimit(RLIMIT_FSIZE, &tight) == 0;
        ::_exit(!failing ? 2 : PrivateFiles::writeFile(path, longer) ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // the write reported its failure

    QCOMPARE(contentsOf(path), previous);
    QCOMPARE(entriesOf(m_folder), QStringList{u"config"_s});
}

void TestPrivateFiles::removalOnlyInsideTheFolder_data()
{
    QTest::addColumn<QString>("entry"); // relative to the temporary folder
    QTest::addColumn<bool>("removed");

    QTest::newRow("file in the folder") << u"private/x"_s << true;
    QTest::newRow("sibling folder starting with the folder's name") << u"private-old/x"_s << false;
    QTest::newRow("sub-folder") << u"private/sub/x"_s << false;
    QTest::newRow("back out through ..") << u"private/../x"_s << false;
    QTest::newRow("link in the folder, not its target") << u"private/link"_s << true;
}

void TestPrivateFiles::removalOnlyInsideTheFolder()
{
    QFETCH(QString, entry);
    QFETCH(bool, removed);
    for (const QString& folder : {u"private/sub"_s, u"private-old"_s})
        QVERIFY(QDir(m_dir->path()).mkpath(folder));
    for (const QString& file : {u"x"_s, u"private/x"_s, u"private/sub/x"_s, u"private-old/x"_s})
        QVERIFY(writePlain(m_dir->filePath(file), "x"));
    QVERIFY(QFile::link(m_dir->filePath(u"x"_s), m_dir->filePath(u"private/link"_s)));
    const QString path = m_dir->filePath(entry);

    QCOMPARE(PrivateFiles::removeFile(path, m_folder), removed);

    QCOMPARE(QFileInfo::exists(path) || QFileInfo(path).isSymLink(), !removed);
    // The file outside, which the link points to and ".." reaches, stays.
    QVERIFY(QFileInfo::exists(m_dir->filePath(u"x"_s)));
}

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"
