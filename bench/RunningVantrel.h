#pragma once

#include "CaptureFigures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

// A running vantrel with folders of its own (data, configuration, cache and runtime), for the
// benches that measure the real binary. It is started with `environment` added to this process's
// and waited for until its output holds `ready`; it is ended when this goes.
class RunningVantrel
{
public:
    RunningVantrel(const QString& binary, const QProcessEnvironment& environment,
                   const QByteArray& ready)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
            env.insert(QString::fromLatin1(name), m_home.filePath(QString::fromLatin1(name)));
        // A runtime folder of its own for the single instance.
        QDir(m_home.path())
            .mkdir(QStringLiteral("runtime"),
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
        env.insert(environment);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(binary, {});
        QByteArray output;
        QElapsedTimer waited;
        waited.start();
        while (!output.contains(ready) && waited.elapsed() < 30'000) {
            m_process.waitForReadyRead(1000);
            output += m_process.readAll();
        }
        m_dbPath = m_home.filePath(QStringLiteral("XDG_DATA_HOME/vantrel/db.sqlite3"));
    }

    ~RunningVantrel()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(10'000))
            m_process.kill();
    }

    qint64 pid() const { return m_process.processId(); }
    // The rows its history has committed.
    qint64 rows() const { return committedRows(m_dbPath); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
    QString m_dbPath;
};
