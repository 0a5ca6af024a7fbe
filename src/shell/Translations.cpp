#include "shell/Translations.h"

#include "support/Logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
const QString english = QStringLiteral("en");
const QString translatorName = QStringLiteral("vantrelTranslation");

bool installFile(QCoreApplication& application, const QString& path)
{
    auto* translator = new QTranslator(&application);
    translator->setObjectName(translatorName);
    if (!translator->load(path)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

// Chinese in the traditional script (Taiwan, Hong Kong) is not Simplified Chinese: it falls
// through to the next preferred language.
QString spokenName(const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::English:
        return english;
    case QLocale::German:
        return QStringLiteral("de");
    case QLocale::Chinese:
        return locale.script() == QLocale::SimplifiedChineseScript ? QStringLiteral("zh_CN")
                                                                   : QString();
    default:
        return {};
    }
}
} // namespace

QStringList Translations::available()
{
    return {QStringLiteral("de"), QStringLiteral("zh_CN"), english};
}

QString Translations::languageFor(const QStringList& uiLanguages)
{
    for (const QString& name : uiLanguages) {
        const QString spoken = spokenName(QLocale(name));
        if (!spoken.isEmpty())
            return spoken;
    }
    return english;
}

QString Translations::install(QCoreApplication& application, const QStringList& uiLanguages)
{
    // A language chosen again replaces the one before rather than stacking on it.
    for (QTranslator* previous : application.findChildren<QTranslator*>(translatorName)) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
    const QString language = languageFor(uiLanguages);
    if (!installFile(application, QStringLiteral(":/i18n/vantrel_%1.qm").arg(language))) {
        qCWarning(lcShell) << "no translation for" << language;
        return english;
    }
    // Qt's own texts (the key-sequence recorder, the text fields' context menu) come with Qt's
    // translations where the system has them installed.
    if (language != english)
        installFile(application, QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                     QStringLiteral("/qtbase_%1.qm").arg(language));
    return language;
}

QString Translations::install(QCoreApplication& application)
{
    return install(application, QLocale::system().uiLanguages());
}
