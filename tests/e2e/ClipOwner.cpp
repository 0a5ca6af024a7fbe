#include "ClipOwner.h"

#include <QFile>

using namespace Qt::StringLiterals;

ClipOwner::ClipOwner(const Formats& formats, const QStringList& arguments, QObject* parent)
    : QObject(parent)
{
    QStringList args = arguments;
    // Bytes go through files so that any value (binary, empty, with "=") reaches the owner.
    for (qsizetype i = 0; i < formats.size(); ++i) {
        const QString path = m_dir.filePath(QString::number(i));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(formats[i].second);
        args << u"--format-file"_s << formats[i].first + u'=' + path;
    }
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &ClipOwner::readOutput);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(CLIPOWNER_BINARY), args);
}

ClipOwner::~ClipOwner()
{
    kill();
}

void ClipOwner::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}

void ClipOwner::readOutput()
{
    m_pending += m_process.readAllStandardOutput();
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
        if (line.startsWith(u"requested "_s))
            m_requested.append(line.mid(10));
        else if (line.startsWith(u"ready "_s))
            m_window = line.mid(6).toUInt();
        else if (line == u"lost"_s)
            m_lost = true;
    }
}
