#include "platform/xdg/DesktopEntries.h"
#include "platform/xdg/LoginItemsXdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The permission bits of the owner, the group and others (Qt's "user" bits repeat the owner's).
constexpr QFile::Permissions ownerGroupOther = QFile::Permissions::fromInt(0x7077);
} // namespace

class TestLoginItemsXdg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void enablingWritesAnEntryThatStartsThisExecutable_data();
    void enablingWritesAnEntryThatStartsThisExecutable();
    void onlyAnEnabledEntryForThisExecutableCountsAsOurs_data();
    void onlyAnEnabledEntryForThisExecutableCountsAsOurs();
    void aForeignEntryIsNeverReplacedOrRemoved();
    void disablingRemovesOurEntry();
    void enablingTurnsOurSwitchedOffEntryBackOn();
    void enablingCreatesTheMissingAutostartFolder();

private:
    QString folder() const { return m_dir->filePath(u"autostart"_s); }
    QString entryPath() const { return folder() + u"/vantrel.desktop"_s; }
    void writeEntry(const QByteArray& body);
    QByteArray readEntry() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    const QString m_executable = u"/opt/vantrel/bin/vantrel"_s;
};

void TestLoginItemsXdg::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestLoginItemsXdg::writeEntry(const QByteArray& body)
{
    QVERIFY(QDir().mkpath(folder()));
    QFile file(entryPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(body);
}

QByteArray TestLoginItemsXdg::readEntry() const
{
    QFile file(entryPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestLoginItemsXdg::enablingWritesAnEntryThatStartsThisExecutable_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QByteArray>("execLine");

    QTest::newRow("plain") << u"/usr/bin/vantrel"_s << QByteArray("Exec=/usr/bin/vantrel");
    QTest::newRow("spaces") << u"/home/me/My Apps/vantrel"_s
                            << QByteArray("Exec=\"/home/me/My Apps/vantrel\"");
    QTest::newRow("double quote") << u"/tmp/a\"b/vantrel"_s
                                  << QByteArray(R"(Exec="/tmp/a\\"b/vantrel")");
    QTest::newRow("dollar and backtick")
        << u"/tmp/$HOME`x`/vantrel"_s << QByteArray(R"(Exec="/tmp/\\$HOME\\`x\\`/vantrel")");
    QTest::newRow("backslash") << u"/tmp/a\\b/vantrel"_s
                               << QByteArray(R"(Exec="/tmp/a\\\\b/vantrel")");
    QTest::newRow("percent") << u"/tmp/100%/vantrel"_s << QByteArray("Exec=/tmp/100%%/vantrel");
    QTest::newRow("single quote") << u"/tmp/it's/vantrel"_s
                                  << QByteArray("Exec=\"/tmp/it's/vantrel\"");
    QTest::newRow("newline") << u"/tmp/a\nb/vantrel"_s << QByteArray(R"(Exec="/tmp/a\nb/vantrel")");
    QTest::newRow("non-ASCII") << u"/opt/Zwischenablage-\u00e9/vantrel"_s
                               << QByteArray("Exec=/opt/Zwischenablage-\xc3\xa9/vantrel");
}

void TestLoginItemsXdg::enablingWritesAnEntryThatStartsThisExecutable()
{
    QFETCH(QString, executable);
    QFETCH(QByteArray, execLine);

    LoginItemsXdg loginItems(folder(), executable);
    QVERIFY(!loginItems.isEnabled());
    QVERIFY(loginItems.setEnabled(true));
    QVERIFY(loginItems.isEnabled());

    const QList<QByteArray> lines = readEntry().split('\n');
    QCOMPARE(lines.first(), QByteArray("[Desktop Entry]"));
    QVERIFY2(lines.contains(execLine), readEntry().constData());
    QVERIFY(lines.contains("Type=Application"));
    QVERIFY(lines.contains("Name=Vantrel"));
    QCOMPARE(QFileInfo(entryPath()).permissions() & ownerGroupOther,
             QFile::ReadOwner | QFile::WriteOwner);
    // Another copy of the program does not take the entry for its own.
    QVERIFY(!LoginItemsXdg(folder(), executable + u"2"_s).isEnabled());
}

void TestLoginItemsXdg::onlyAnEnabledEntryForThisExecutableCountsAsOurs_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ours");

    const QByteArray head = "[Desktop Entry]\nType=Application\nName=Vantrel\n";
    QTest::newRow("ours") << head + "Exec=/opt/vantrel/bin/vantrel\n" << true;
    QTest::newRow("ours with arguments") << head + "Exec=/opt/vantrel/bin/vantrel --show-mini %U\n"
                                         << true;
    QTest::newRow("ours quoted") << head + "Exec=\"/opt/vantrel/bin/vantrel\"\n" << true;
    QTest::newRow("another path") << head + "Exec=/usr/bin/vantrel\n" << false;
    QTest::newRow("path prefix only") << head + "Exec=/opt/vantrel/bin/vantrel-old\n" << false;
    QTest::newRow("through the search path") << head + "Exec=vantrel\n" << false;
    QTest::newRow("unclosed quote") << head + "Exec=\"/opt/vantrel/bin/vantrel\n" << false;
    QTest::newRow("no Exec") << head << false;
    QTest::newRow("Exec in another group")
        << head + "[Desktop Action x]\nExec=/opt/vantrel/bin/vantrel\n"
        << false;
    QTest::newRow("hidden") << head + "Exec=/opt/vantrel/bin/vantrel\nHidden=true\n" << false;
    QTest::newRow("switched off in GNOME")
        << head + "Exec=/opt/vantrel/bin/vantrel\nX-GNOME-Autostart-enabled=false\n"
        << false;
    QTest::newRow("not a desktop entry") << QByteArray("\x00\x01garbage", 9) << false;
}

void TestLoginItemsXdg::onlyAnEnabledEntryForThisExecutableCountsAsOurs()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, ours);

    writeEntry(body);
    QCOMPARE(LoginItemsXdg(folder(), m_executable).isEnabled(), ours);
}

void TestLoginItemsXdg::aForeignEntryIsNeverReplacedOrRemoved()
{
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=/usr/bin/vantrel\n";
    writeEntry(foreign);
    LoginItemsXdg loginItems(folder(), m_executable);

    QVERIFY(!loginItems.setEnabled(true));
    QCOMPARE(readEntry(), foreign);
    QVERIFY(!loginItems.isEnabled());

    QVERIFY(loginItems.setEnabled(false));
    QCOMPARE(readEntry(), foreign);
}

void TestLoginItemsXdg::disablingRemovesOurEntry()
{
    LoginItemsXdg loginItems(folder(), u"/home/me/My Apps/vantrel"_s);
    QVERIFY(loginItems.setEnabled(true));
    QVERIFY(loginItems.setEnabled(false));
    QVERIFY(!QFileInfo::exists(entryPath()));
    QVERIFY(!loginItems.isEnabled());
    // Disabling what is already off succeeds without touching anything.
    QVERIFY(loginItems.setEnabled(false));
}

void TestLoginItemsXdg::enablingTurnsOurSwitchedOffEntryBackOn()
{
    writeEntry("[Desktop Entry]\nExec=/opt/vantrel/bin/vantrel\nHidden=true\n");
    LoginItemsXdg loginItems(folder(), m_executable);
    QVERIFY(loginItems.setEnabled(true));
    QVERIFY(loginItems.isEnabled());
    QVERIFY(!readEntry().contains("Hidden"));
}

void TestLoginItemsXdg::enablingCreatesTheMissingAutostartFolder()
{
    const QString nested = m_dir->filePath(u"config/autostart"_s);
    LoginItemsXdg loginItems(nested, m_executable);
    QVERIFY(loginItems.setEnabled(true));
    QVERIFY(QFileInfo::exists(nested + u"/vantrel.desktop"_s));
    QCOMPARE(QFileInfo(nested).permissions() & ownerGroupOther,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_GUILESS_MAIN(TestLoginItemsXdg)
#include "tst_loginitemsxdg.moc"
