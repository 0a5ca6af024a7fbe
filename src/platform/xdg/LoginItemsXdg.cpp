#include "platform/xdg/LoginItemsXdg.h"

#include "platform/xdg/DesktopEntries.h"
#include "support/Logging.h"
#include "support/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString entryName = QStringLiteral("vantrel.desktop");
// Characters that make an Exec argument need quotes.
const QString reservedCharacters = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
// Characters escaped with a backslash inside a quoted Exec argument.
const QString quotedEscapes = QStringLiteral("\"`$\\");

QString quoteArgument(const QString& argument)
{
    if (!std::any_of(argument.begin(), argument.end(),
                     [](QChar c) { return reservedCharacters.contains(c); }))
        return argument;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (quotedEscapes.contains(c))
            quoted.append(QLatin1Char('\\'));
        quoted.append(c);
    }
    return quoted + QLatin1Char('"');
}

// The inverse of the string unescaping every desktop-entry value goes through.
QString escapeValue(const QString& value)
{
    QString escaped;
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            escaped.append(QStringLiteral("\\\\"));
        else if (c == QLatin1Char('\n'))
            escaped.append(QStringLiteral("\\n"));
        else if (c == QLatin1Char('\t'))
            escaped.append(QStringLiteral("\\t"));
        else if (c == QLatin1Char('\r'))
            escaped.append(QStringLiteral("\\r"));
        else
            escaped.append(c);
    }
    return escaped;
}

// The quoted argument starting at `exec[0] == '"'`, or a null string when it is not closed.
QString unquoteArgument(QStringView exec)
{
    QString argument = QStringLiteral("");
    for (qsizetype i = 1; i < exec.size(); ++i) {
        if (exec[i] == QLatin1Char('"'))
            return argument;
        if (exec[i] == QLatin1Char('\\') && i + 1 < exec.size() &&
            quotedEscapes.contains(exec[i + 1]))
            ++i;
        argument.append(exec[i]);
    }
    return {};
}

bool isFalse(const QString& value)
{
    return value.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0;
}

bool isTrue(const QString& value)
{
    return value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}
} // namespace

LoginItemsXdg::LoginItemsXdg(const QString& autostartFolder, const QString& executablePath)
    : m_folder(autostartFolder), m_entryPath(QDir(autostartFolder).filePath(entryName)),
      m_executablePath(executablePath)
{}

QString LoginItemsXdg::userAutostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

bool LoginItemsXdg::isEnabled() const
{
    return currentEntry() == Entry::Ours;
}

bool LoginItemsXdg::setEnabled(bool enabled)
{
    m_lastRefusal = Refusal::None;
    const Entry entry = currentEntry();
    if (entry == Entry::Foreign) {
        if (!enabled)
            return true;
        qCWarning(lcPlatform) << "not enabling start at log-in:" << m_entryPath
                              << "starts another program";
        m_lastRefusal = Refusal::ForeignEntry;
        return false;
    }
    if (enabled && entry != Entry::Ours && !writeEntry())
        m_lastRefusal = Refusal::CannotWrite;
    if (!enabled && entry != Entry::None && !removeEntry())
        m_lastRefusal = Refusal::CannotRemove;
    return m_lastRefusal == Refusal::None;
}

QString LoginItemsXdg::execValue(const QString& program)
{
    QString value = quoteArgument(program);
    value.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return escapeValue(value);
}

QString LoginItemsXdg::execProgram(const QString& exec)
{
    const QStringView rest = QStringView(exec).trimmed();
    QString program;
    if (rest.startsWith(QLatin1Char('"')))
        program = unquoteArgument(rest);
    else
        program = rest.left(rest.indexOf(QLatin1Char(' '))).toString();
    return program.isNull() ? program : program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

LoginItemsXdg::Entry LoginItemsXdg::currentEntry() const
{
    if (!QFileInfo(m_entryPath).exists() && !QFileInfo(m_entryPath).isSymLink())
        return Entry::None;
    const QHash<QString, QString> keys = DesktopEntries::readEntry(m_entryPath);
    if (execProgram(keys.value(QStringLiteral("Exec"))) != m_executablePath)
        return Entry::Foreign;
    // Desktops switch an entry off without deleting it in either of these two ways.
    if (isTrue(keys.value(QStringLiteral("Hidden"))) ||
        isFalse(keys.value(QStringLiteral("X-GNOME-Autostart-enabled"))))
        return Entry::OursDisabled;
    return Entry::Ours;
}

bool LoginItemsXdg::writeEntry() const
{
    if (!PrivateFiles::makeFolder(m_folder)) {
        qCWarning(lcPlatform) << "cannot create the autostart folder" << m_folder;
        return false;
    }
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Vantrel\n"
                                        "Exec=%1\nIcon=%2\nTerminal=false\n")
                             .arg(execValue(m_executablePath), QStringLiteral(VANTREL_APP_ID));
    return PrivateFiles::writeFile(m_entryPath, text.toUtf8());
}

bool LoginItemsXdg::removeEntry() const
{
    if (PrivateFiles::removeFile(m_entryPath, m_folder))
        return true;
    qCWarning(lcPlatform) << "cannot remove" << m_entryPath;
    return false;
}
