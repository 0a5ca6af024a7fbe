#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// The program's texts in the desktop's language. The compiled translations are part of the
// program's resources; the language is the first of the user's preferred ones that Vantrel
// speaks, English when it speaks none of them. English has a translation of its own too: it holds
// the plural forms of the texts that count ("%n minutes ago").
class Translations
{
public:
    // The languages Vantrel speaks, as the names of their translations ("de", "zh_CN", "en").
    static QStringList available();

    // Which of them to show for `uiLanguages`, the user's languages in order of preference as
    // QLocale::uiLanguages() gives them ("de-DE", "zh-Hans-CN", …).
    static QString languageFor(const QStringList& uiLanguages);

    // Loads the translation for `uiLanguages` (by default the desktop's: LANGUAGE, LC_MESSAGES,
    // LANG) and installs it on `application`, which owns it from then on. Returns the language.
    static QString install(QCoreApplication& application, const QStringList& uiLanguages);
    static QString install(QCoreApplication& application);
};
