#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

// Runs the clipowner helper: another application owning the X11 clipboard with the given
// formats, in the given order. Its output is collected as the event loop runs, so tests wait
// for it with QTRY_VERIFY.
class ClipOwner : public QObject
{
    Q_OBJECT

public:
    using Formats = QList<std::pair<QString, QByteArray>>;

    // Extra arguments (--class, --map, ...) go before the formats.
    explicit ClipOwner(const Formats& formats, const QStringList& arguments = {},
                       QObject* parent = nullptr);
    ~ClipOwner() override;

    bool isReady() const { return m_window != 0; }
    bool hasLost() const { return m_lost; }
    quint32 window() const { return m_window; }
    // Every target asked for so far, in order (TARGETS included).
    const QStringList& requested() const { return m_requested; }
    // Ends the owner, as an application exits.
    void kill();

private:
    void readOutput();

    QTemporaryDir m_dir;
    QProcess m_process;
    QByteArray m_pending;
    QStringList m_requested;
    quint32 m_window = 0;
    bool m_lost = false;
};
