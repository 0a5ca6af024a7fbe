#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>

// Runs the textfield helper: another application's window with one text field, the target of a
// paste. Its output is read as the event loop runs, so tests wait for it with QTRY_VERIFY.
class TextField
{
public:
    // Extra arguments: --class, --title.
    explicit TextField(const QString& binary, const QStringList& arguments = {})
        : TextField([&](QProcess& process) { process.start(binary, arguments); })
    {}
    // Started by `start` (as another user, in another session).
    explicit TextField(const std::function<void(QProcess&)>& start)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                         [this] { readOutput(); });
        start(m_process);
    }
    ~TextField() { kill(); }

    // Shown and active.
    bool isReady() const { return m_ready; }
    // Whether it has the keyboard focus, as it last said.
    bool isActive() const { return m_active; }
    // The field's text, as last printed.
    QString text() const { return m_text; }
    // The Ctrl combinations typed into it, in order ("ctrl+v", "ctrl+shift+v").
    const QStringList& keys() const { return m_keys; }
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    void readOutput()
    {
        m_pending += m_process.readAllStandardOutput();
        for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0;) {
            const QByteArray line = m_pending.left(end);
            m_pending.remove(0, end + 1);
            if (line == "ready")
                m_ready = m_active = true;
            else if (line == "active" || line == "inactive")
                m_active = line == "active";
            else if (line.startsWith("key "))
                m_keys << QString::fromUtf8(line.mid(4));
            else if (line.startsWith("text "))
                m_text =
                    QJsonDocument::fromJson("[" + line.mid(5) + "]").array().first().toString();
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    bool m_ready = false;
    bool m_active = false;
    QString m_text;
    QStringList m_keys;
};
