#include "platform/xdg/DesktopEntries.h"
#include "platform/xdg/DesktopEntryIndex.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDesktopEntries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void iconNameComesFromTheFirstEntryFound_data();
    void iconNameComesFromTheFirstEntryFound();
    void windowClassFindsTheEntry_data();
    void windowClassFindsTheEntry();
    void indexFollowsEntriesAddedAndRemoved();

private:
    void writeEntry(const QString& folder, const QString& id, const QByteArray& body);

    QTemporaryDir m_dir;
};

void TestDesktopEntries::writeEntry(const QString& folder, const QString& id,
                                    const QByteArray& body)
{
    const QString apps = m_dir.filePath(folder + u"/applications"_s);
    QVERIFY(QDir().mkpath(apps));
    QFile file(apps + u'/' + id + u".desktop"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(body);
}

void TestDesktopEntries::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writeEntry(u"home"_s, u"org.example.Shadowed"_s,
               "[Desktop Entry]\nName=Mine\nIcon=mine\nStartupWMClass=ShadowClass\n");
    writeEntry(u"system"_s, u"org.example.Shadowed"_s, "[Desktop Entry]\nIcon=theirs\n");
    writeEntry(u"system"_s, u"org.example.System"_s,
               "[Desktop Entry]\nIcon = system-icon \nStartupWMClass=sysclass\n");
    writeEntry(u"home"_s, u"org.example.Localised"_s,
               "# comment\n[Desktop Entry]\nIcon[de]=lokal\nIcon=plain\n"
               "[Desktop Action new]\nIcon=action\n");
    writeEntry(u"home"_s, u"org.example.ActionOnly"_s,
               "[Desktop Action new]\nIcon=action\n[Desktop Entry]\nName=x\n");
    writeEntry(u"home"_s, u"org.example.Escaped"_s,
               "[Desktop Entry]\nIcon=/opt/My\\sApp/icon.png\n");
    writeEntry(u"home"_s, u"firefox-esr"_s, "[Desktop Entry]\nIcon=firefox\n");
    writeEntry(u"system"_s, u"kitty"_s, "[Desktop Entry]\nIcon=kitty\n");
    writeEntry(u"home"_s, u"outside"_s, "[Desktop Entry]\nIcon=outside\n");
    qputenv("XDG_DATA_HOME", m_dir.filePath(u"home"_s).toUtf8());
    qputenv("XDG_DATA_DIRS", m_dir.filePath(u"system"_s).toUtf8());
}

void TestDesktopEntries::iconNameComesFromTheFirstEntryFound_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("icon"); // null: none

    QTest::newRow("user entry hides system entry") << u"org.example.Shadowed"_s << u"mine"_s;
    QTest::newRow("system entry, blanks trimmed") << u"org.example.System"_s << u"system-icon"_s;
    QTest::newRow("localised keys and other groups ignored")
        << u"org.example.Localised"_s << u"plain"_s;
    QTest::newRow("entry without icon") << u"org.example.ActionOnly"_s << QString();
    QTest::newRow("escaped blank") << u"org.example.Escaped"_s << u"/opt/My App/icon.png"_s;
    QTest::newRow("no entry") << u"org.example.Missing"_s << QString();
    QTest::newRow("empty id") << u""_s << QString();
    QTest::newRow("id reaching outside") << u"../applications/outside"_s << QString();
}

void TestDesktopEntries::iconNameComesFromTheFirstEntryFound()
{
    QFETCH(QString, id);
    QFETCH(QString, icon);
    QCOMPARE(DesktopEntries::iconName(id), icon);
    QCOMPARE(DesktopEntries::iconName(id).isNull(), icon.isNull());
}

void TestDesktopEntries::windowClassFindsTheEntry_data()
{
    QTest::addColumn<QString>("instance");
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("id");

    QTest::newRow("startup class in user entry")
        << u"shadow"_s << u"ShadowClass"_s << u"org.example.Shadowed"_s;
    QTest::newRow("startup class in system entry")
        << u"x"_s << u"sysclass"_s << u"org.example.System"_s;
    QTest::newRow("startup class matching the instance")
        << u"sysclass"_s << u"Other"_s << u"org.example.System"_s;
    QTest::newRow("startup class before id")
        << u"kitty"_s << u"sysclass"_s << u"org.example.System"_s;
    QTest::newRow("startup class is case-sensitive") << u""_s << u"SYSCLASS"_s << u""_s;
    QTest::newRow("id ignoring case") << u"Navigator"_s << u"Firefox-esr"_s << u"firefox-esr"_s;
    QTest::newRow("id from the instance") << u"kitty"_s << u"Terminal"_s << u"kitty"_s;
    QTest::newRow("no match") << u"unknown"_s << u"Unknown"_s << u""_s;
    QTest::newRow("empty names") << u""_s << u""_s << u""_s;
}

void TestDesktopEntries::windowClassFindsTheEntry()
{
    QFETCH(QString, instance);
    QFETCH(QString, windowClass);
    QFETCH(QString, id);
    const DesktopEntryIndex index;
    QCOMPARE(index.desktopIdForWindowClass(instance, windowClass), id);
}

// Installing an application adds its entry, possibly making its applications folder first;
// uninstalling it takes the entry away.
void TestDesktopEntries::indexFollowsEntriesAddedAndRemoved()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"share/applications"_s);
    QVERIFY(QDir().mkpath(dir.filePath(u"share"_s)));
    DesktopEntryIndex index({folder});
    QSignalSpy refreshed(&index, &DesktopEntryIndex::refreshed);
    QCOMPARE(index.desktopIdForWindowClass(u"editor"_s, u"Editor"_s), u""_s);

    QVERIFY(QDir().mkpath(folder));
    QTRY_VERIFY(refreshed.count() > 0);
    QFile entry(folder + u"/org.example.Editor.desktop"_s);
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nStartupWMClass=Editor\n");
    entry.close();
    QTRY_COMPARE(index.desktopIdForWindowClass(u"editor"_s, u"Editor"_s), u"org.example.Editor"_s);

    QVERIFY(entry.remove());
    QTRY_COMPARE(index.desktopIdForWindowClass(u"editor"_s, u"Editor"_s), u""_s);
}

QTEST_GUILESS_MAIN(TestDesktopEntries)
#include "tst_desktopentries.moc"
