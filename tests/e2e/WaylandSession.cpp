#include "WaylandSession.h"

#include "VantrelSession.h"
#include "WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {
// Generous: two cores shared by several builds start Qt, sway clients and SQLite slowly.
constexpr int startTimeoutMs = 30'000;
constexpr int runTimeoutMs = 30'000;
} // namespace

WaylandSession::WaylandSession(const QString& qtPlatform)
    : m_home(qEnvironmentVariable("WAYLAND_SESSION_HOME")), m_qtPlatform(qtPlatform),
      m_runAs(qEnvironmentVariable("WAYLAND_SESSION_RUN_AS").split(u' ', Qt::SkipEmptyParts))
{
    // setpriv is looked up here, since the session's PATH may be made to lack things.
    if (!m_runAs.isEmpty())
        m_runAs.first() = QStandardPaths::findExecutable(m_runAs.first());
}

WaylandSession::~WaylandSession()
{
    for (const auto& owner : m_owners) {
        owner->kill();
        owner->waitForFinished();
    }
    if (isRunning()) {
        m_vantrel->kill();
        m_vantrel->waitForFinished();
    }
}

QString WaylandSession::unavailableReason()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SESSION_ERROR"))
        return qEnvironmentVariable("WAYLAND_SESSION_ERROR");
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return u"not run inside tests/helpers/sway-session or mutter-session"_s;
    return {};
}

QString WaylandSession::dataFolder() const
{
    return m_home + u"/.local/share/vantrel"_s;
}

QList<QVariantMap> WaylandSession::rows() const
{
    return VantrelSession::rowsOf(dataFolder() + u"/db.sqlite3"_s);
}

QByteArray WaylandSession::payload(const QVariantMap& row, int index) const
{
    const QStringList paths = row[u"data"_s].toString().split(u'|');
    QFile file(dataFolder() + u"/data/"_s + QFileInfo(paths.value(index)).fileName());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QProcessEnvironment WaylandSession::environment(const QString& path) const
{
    QProcessEnvironment env;
    env.insert(u"PATH"_s, path.isEmpty() ? qEnvironmentVariable("PATH") : path);
    env.insert(u"HOME"_s, m_home);
    env.insert(u"LANG"_s, u"C.UTF-8"_s);
    for (const char* name : {"XDG_RUNTIME_DIR", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                             "DISPLAY", "XAUTHORITY"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            env.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    if (!m_qtPlatform.isEmpty())
        env.insert(u"QT_QPA_PLATFORM"_s, m_qtPlatform);
    env.insert(u"QT_LOGGING_RULES"_s, u"vantrel.*=true"_s);
    env.insert(m_variables);
    return env;
}

void WaylandSession::startAsUser(QProcess& process, const QString& program,
                                 const QStringList& arguments, const QString& path) const
{
    process.setProcessEnvironment(environment(path));
    if (m_runAs.isEmpty()) {
        process.start(program, arguments);
        return;
    }
    process.start(m_runAs.first(), m_runAs.mid(1) + QStringList{program} + arguments);
}

bool WaylandSession::start(const QString& path, bool watchesClipboard)
{
    m_output.clear();
    m_vantrel = std::make_unique<QProcess>();
    m_vantrel->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(m_vantrel.get(), &QProcess::readyRead, m_vantrel.get(),
                     [this] { m_output += m_vantrel->readAll(); });
    startAsUser(*m_vantrel, QStringLiteral(VANTREL_BINARY), {}, path);
    return waitForOutput(watchesClipboard ? "watching the Wayland clipboard" : "Start Watching");
}

void WaylandSession::setVariable(const QString& name, const QString& value)
{
    m_variables.insert(name, value);
}

bool WaylandSession::stop()
{
    if (!isRunning())
        return false;
    ::kill(pid_t(m_vantrel->processId()), SIGTERM);
    const bool ended =
        waitUntil([this] { return m_vantrel->state() == QProcess::NotRunning; }, startTimeoutMs);
    return ended && m_vantrel->exitStatus() == QProcess::NormalExit && m_vantrel->exitCode() == 0;
}

bool WaylandSession::isRunning() const
{
    return m_vantrel && m_vantrel->state() != QProcess::NotRunning;
}

qint64 WaylandSession::processId() const
{
    return m_vantrel ? m_vantrel->processId() : 0;
}

bool WaylandSession::waitForOutput(const QByteArray& text, int times)
{
    return waitUntil([&] { return m_output.count(text) >= times; }, startTimeoutMs);
}

int WaylandSession::changesSeen() const
{
    return int(m_output.count("pasteboard.changeCount:"));
}

std::pair<int, QByteArray> WaylandSession::run(const QString& program, const QStringList& arguments,
                                               const QByteArray& input) const
{
    QProcess process;
    startAsUser(process, program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(runTimeoutMs))
        return {-1, process.readAllStandardOutput()};
    return {process.exitCode(), process.readAllStandardOutput()};
}

std::pair<int, QByteArray> WaylandSession::vantrelctl(const QStringList& arguments) const
{
    return run(QStringLiteral(VANTRELCTL_BINARY), arguments);
}

bool WaylandSession::own(const QStringList& formats)
{
    return startHelper(QStringLiteral(WLCLIPOWNER_BINARY), formats);
}

bool WaylandSession::startHelper(const QString& program, const QStringList& arguments)
{
    m_owners.push_back(std::make_unique<QProcess>());
    QProcess* helper = m_owners.back().get();
    startAsUser(*helper, program, arguments);
    return waitUntil([helper] { return helper->canReadLine() && helper->readLine() == "ready\n"; },
                     startTimeoutMs);
}

QList<qint64> WaylandSession::vantrelChildren() const
{
    // vantrel runs under setpriv, which execs it: the process QProcess started is vantrel.
    QList<qint64> children;
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        QFile stat(u"/proc/"_s + entry + u"/stat"_s);
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.value(1).toLongLong() == processId())
            children.append(entry.toLongLong());
    }
    return children;
}
