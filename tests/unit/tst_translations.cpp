#include "FixedClock.h"
#include "TestConfig.h"
#include "shell/Translations.h"
#include "support/StringAdditions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QString translationsFolder = QStringLiteral(VANTREL_SOURCE_DIR "/resources/translations");

// What is wrong with one message of a .ts file, or nothing.
QString faultOf(const QString& source, const QString& type, const QStringList& forms)
{
    if (!type.isEmpty())
        return QStringLiteral("%1: %2").arg(type, source);
    if (forms.isEmpty() || forms.contains(QString()))
        return QStringLiteral("untranslated: ") + source;
    for (const QString& marker : {QStringLiteral("%1"), QStringLiteral("%n")}) {
        for (const QString& form : forms) {
            if (source.contains(marker) != form.contains(marker))
                return QStringLiteral("%1 lost or added: %2").arg(marker, source);
        }
    }
    return {};
}

// The faults of every message of a .ts file: anything lupdate marked (unfinished, vanished,
// obsolete), empty translations, and placeholders the translation dropped or invented.
QStringList faultsIn(const QString& path, int* messages)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("cannot read ") + path};
    QXmlStreamReader xml(&file);
    QStringList faults;
    QString source;
    QString type;
    QStringList forms;
    bool numerus = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const auto name = xml.name();
        if (xml.isStartElement() && name == u"message") {
            source.clear();
            forms.clear();
            type.clear();
            numerus = xml.attributes().value("numerus"_L1) == u"yes";
        } else if (xml.isStartElement() && name == u"source") {
            source = xml.readElementText();
        } else if (xml.isStartElement() && name == u"translation") {
            type = xml.attributes().value("type"_L1).toString();
            if (!numerus)
                forms << xml.readElementText();
        } else if (xml.isStartElement() && name == u"numerusform") {
            forms << xml.readElementText();
        } else if (xml.isEndElement() && name == u"message") {
            ++*messages;
            const QString fault = faultOf(source, type, forms);
            if (!fault.isEmpty())
                faults << fault;
        }
    }
    if (xml.hasError())
        faults << xml.errorString();
    return faults;
}

double minutesBefore(const QDateTime& now, int minutes)
{
    return now.addSecs(-60 * minutes).toMSecsSinceEpoch() / 1000.0;
}
} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Translations::install(*QCoreApplication::instance(), {}); }

    void languageFollowsTheFirstSpokenPreference_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("language");
        QTest::newRow("German desktop") << QStringList{u"de-DE"_s, u"de"_s} << u"de"_s;
        QTest::newRow("Austrian German") << QStringList{u"de-AT"_s} << u"de"_s;
        QTest::newRow("Chinese, China")
            << QStringList{u"zh-Hans-CN"_s, u"zh-CN"_s, u"zh"_s} << u"zh_CN"_s;
        QTest::newRow("Chinese, Singapore") << QStringList{u"zh-SG"_s} << u"zh_CN"_s;
        QTest::newRow("traditional Chinese, then German")
            << QStringList{u"zh-TW"_s, u"de"_s} << u"de"_s;
        QTest::newRow("French, then German") << QStringList{u"fr-FR"_s, u"de"_s} << u"de"_s;
        QTest::newRow("English before German") << QStringList{u"en-GB"_s, u"de-DE"_s} << u"en"_s;
        QTest::newRow("French only") << QStringList{u"fr-FR"_s} << u"en"_s;
        QTest::newRow("the C locale") << QStringList{u"C"_s} << u"en"_s;
        QTest::newRow("none") << QStringList{} << u"en"_s;
    }

    void languageFollowsTheFirstSpokenPreference()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, language);
        QCOMPARE(Translations::languageFor(uiLanguages), language);
        QCOMPARE(Translations::install(*QCoreApplication::instance(), uiLanguages), language);
    }

    void relativeTimesTakeTheLanguagesPluralForms_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en, one minute") << u"en"_s << 1 << u"1 minute ago"_s;
        QTest::newRow("en, minutes") << u"en"_s << 5 << u"5 minutes ago"_s;
        QTest::newRow("en, one hour") << u"en"_s << 60 << u"1 hour ago"_s;
        QTest::newRow("en, hours") << u"en"_s << 180 << u"3 hours ago"_s;
        QTest::newRow("fr falls back to en") << u"fr"_s << 1 << u"1 minute ago"_s;
        QTest::newRow("de, one minute") << u"de"_s << 1 << u"vor 1 Minute"_s;
        QTest::newRow("de, minutes") << u"de"_s << 5 << u"vor 5 Minuten"_s;
        QTest::newRow("de, one hour") << u"de"_s << 60 << u"vor 1 Stunde"_s;
        QTest::newRow("de, hours") << u"de"_s << 180 << u"vor 3 Stunden"_s;
        QTest::newRow("zh_CN, one minute") << u"zh-CN"_s << 1 << u"1 分钟前"_s;
        QTest::newRow("zh_CN, hours") << u"zh-CN"_s << 180 << u"3 小时前"_s;
    }

    void relativeTimesTakeTheLanguagesPluralForms()
    {
        QFETCH(QString, language);
        QFETCH(int, minutes);
        QFETCH(QString, expected);
        Translations::install(*QCoreApplication::instance(), {language});
        const QDateTime now(QDate(2026, 6, 15), QTime(18, 30));
        QCOMPARE(StringAdditions::stringWithDate(minutesBefore(now, minutes),
                                                 FixedClock(now.toMSecsSinceEpoch() / 1000.0)),
                 expected);
    }

    // lupdate run over the sources into a copy of each .ts file marks what the sources no longer
    // have and adds what the file lacks; the copy must then be complete and finished.
    void everyTranslationIsCompleteAndFinished_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& language : Translations::available())
            QTest::newRow(qPrintable(language)) << language;
    }

    void everyTranslationIsCompleteAndFinished()
    {
        QFETCH(QString, language);
        const QString name = QStringLiteral("vantrel_%1.ts").arg(language);
        QTemporaryDir folder;
        const QString copy = folder.filePath(name);
        QVERIFY(QFile::copy(QDir(translationsFolder).filePath(name), copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

        QStringList arguments{u"-silent"_s, u"-locations"_s, u"none"_s};
        // English only tells the singular from the plural.
        if (language == u"en")
            arguments << u"-pluralonly"_s;
        arguments << QStringLiteral(VANTREL_SOURCE_DIR "/src") << u"-ts"_s << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VANTREL_LUPDATE), arguments);
        QVERIFY2(lupdate.waitForFinished(120'000), qPrintable(lupdate.errorString()));
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());

        int messages = 0;
        const QStringList faults = faultsIn(copy, &messages);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        QVERIFY(messages > 0);
    }
};

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
