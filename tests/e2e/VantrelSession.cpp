#include "VantrelSession.h"

#include "StoredRows.h"
#include "WaitUntil.h"
#include "X11Windows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSaveFile>

namespace {
constexpr int startTimeoutMs = 20'000;
constexpr int changeTimeoutMs = 10'000;
} // namespace

VantrelSession::VantrelSession()
{
    for (const char* sub : {"data", "config", "cache", "runtime"})
        QDir(m_home.path()).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(m_home.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

VantrelSession::~VantrelSession()
{
    for (QProcess* process : {m_vantrel.get(), m_trayHost.get()}) {
        if (process && process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
    }
}

bool VantrelSession::startTrayHost()
{
    if (m_trayHost && m_trayHost->state() != QProcess::NotRunning)
        return true;
    m_trayHost = std::make_unique<QProcess>();
    m_trayHost->start(QStringLiteral("trayer"), {});
    return m_trayHost->waitForStarted() &&
           waitUntil([] { return windowShown(QStringLiteral("panel")); }, startTimeoutMs);
}

QString VantrelSession::dataFolder() const
{
    return m_home.path() + QStringLiteral("/data/vantrel");
}

void VantrelSession::writeConfig(const QByteArray& json) const
{
    writeFile(dataFolder() + QStringLiteral("/config"), json);
}

QString VantrelSession::userDefaultsPath() const
{
    return m_home.path() + QStringLiteral("/config/vantrel/vantrel.conf");
}

void VantrelSession::writeUserDefaults(const QByteArray& ini) const
{
    writeFile(userDefaultsPath(), ini);
}

// Replaced in one rename, as an editor saves, so a reader never sees half a file.
void VantrelSession::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.commit();
    }
}

bool VantrelSession::start(const QStringList& arguments)
{
    const bool onX11 =
        !qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (m_trayHostWanted && onX11 && !startTrayHost())
        return false;
    m_output.clear();
    m_vantrel = std::make_unique<QProcess>();
    m_vantrel->setProcessEnvironment(environment());
    m_vantrel->setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(m_vantrel.get(), &QProcess::readyRead, m_vantrel.get(),
                     [this] { readOutput(); });
    m_vantrel->start(QStringLiteral(VANTREL_BINARY), arguments);
    return waitForOutput("Start Watching");
}

bool VantrelSession::waitForOutput(const QByteArray& text, int times)
{
    return waitUntil([&] { return m_output.count(text) >= times; }, startTimeoutMs);
}

QProcessEnvironment VantrelSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.path() + QStringLiteral("/data"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.path() + QStringLiteral("/cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vantrel.*=true"));
    return env;
}

std::unique_ptr<QProcess> VantrelSession::startVantrelctl(const QStringList& arguments) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->start(QStringLiteral(VANTRELCTL_BINARY), arguments);
    process->waitForStarted();
    return process;
}

std::pair<int, QByteArray> VantrelSession::vantrelctl(const QStringList& arguments,
                                                      int timeoutMs) const
{
    return run(QStringLiteral(VANTRELCTL_BINARY), arguments, timeoutMs);
}

std::pair<int, QByteArray> VantrelSession::vantrel(const QStringList& arguments,
                                                   int timeoutMs) const
{
    return run(QStringLiteral(VANTREL_BINARY), arguments, timeoutMs);
}

std::pair<int, QByteArray> VantrelSession::run(const QString& binary, const QStringList& arguments,
                                               int timeoutMs) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(binary, arguments);
    if (!process.waitForFinished(timeoutMs))
        return {-1, process.readAllStandardOutput()};
    return {process.exitCode(), process.readAllStandardOutput()};
}

bool VantrelSession::stop(int signalNumber)
{
    if (!m_vantrel || m_vantrel->state() == QProcess::NotRunning)
        return false;
    ::kill(pid_t(m_vantrel->processId()), signalNumber);
    return waitForExit();
}

bool VantrelSession::waitForExit()
{
    if (!m_vantrel)
        return false;
    const bool finished =
        waitUntil([this] { return m_vantrel->state() == QProcess::NotRunning; }, startTimeoutMs);
    readOutput();
    return finished && m_vantrel->exitStatus() == QProcess::NormalExit &&
           m_vantrel->exitCode() == 0;
}

void VantrelSession::readOutput()
{
    m_output += m_vantrel->readAll();
}

int VantrelSession::changesSeen() const
{
    return int(m_output.count("pasteboard.changeCount:"));
}

bool VantrelSession::copy(const QStringList& formats, const QStringList& options)
{
    ClipOwner::Formats pairs;
    for (const QString& format : formats) {
        const qsizetype eq = format.indexOf(u'=');
        const QString value = format.mid(eq + 1);
        QByteArray bytes = value.toUtf8();
        if (value.startsWith(u'@')) {
            QFile file(value.mid(1));
            if (!file.open(QIODevice::ReadOnly))
                return false;
            bytes = file.readAll();
        }
        pairs.append({format.left(eq), bytes});
    }
    m_owners.push_back(std::make_unique<ClipOwner>(pairs, options));
    ClipOwner* owner = m_owners.back().get();
    return waitUntil([owner] { return owner->isReady(); }, startTimeoutMs);
}

bool VantrelSession::copyAndWaitSeen(const QStringList& formats, const QStringList& options)
{
    const int before = changesSeen();
    return copy(formats, options) &&
           waitUntil([&] { return changesSeen() > before; }, changeTimeoutMs);
}

QList<QVariantMap> VantrelSession::rowsOf(const QString& dbPath)
{
    return StoredRows::all(dbPath);
}

QStringList VantrelSession::keywords() const
{
    QStringList result;
    for (const QVariantMap& row : rows())
        result << row[QStringLiteral("keyword")].toString();
    return result;
}
