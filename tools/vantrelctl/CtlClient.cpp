#include "CtlClient.h"

#include "CtlFormatter.h"
#include "support/ChannelMessages.h"
#include "support/MessageChannelWormhole.h"

#include <QJsonObject>
#include <QTextStream>

namespace {
enum ExitStatus { Success = 0, NoAnswer = 1 };
}

CtlClient::CtlClient(const CtlOptions& options, MessageChannelWormhole& channel, QTextStream& out,
                     QTextStream& err, QObject* parent)
    : QObject(parent), m_options(options), m_channel(channel), m_out(out), m_err(err)
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; --timeout promises to wait at least that long.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CtlClient::onTimeout);
}

void CtlClient::start()
{
    if (!m_channel.isAnnouncing()) {
        m_err << "vantrelctl: no D-Bus session bus to reach Vantrel on\n";
        finish(NoAnswer);
        return;
    }
    switch (m_options.command) {
    case CtlOptions::Command::Status:
        ask(ChannelMessages::isLaunched, ChannelMessages::launched, &CtlClient::printStatus);
        break;
    case CtlOptions::Command::Recent:
        ask(ChannelMessages::requestRecent, ChannelMessages::recentItems, &CtlClient::printList);
        break;
    case CtlOptions::Command::Marked:
        ask(ChannelMessages::requestMarked, ChannelMessages::markedItems, &CtlClient::printList);
        break;
    case CtlOptions::Command::Copy:
        ask(ChannelMessages::isLaunched, ChannelMessages::launched, &CtlClient::passCopy);
        break;
    case CtlOptions::Command::Watch:
        watch();
        break;
    case CtlOptions::Command::Help:
        finish(Success);
        break;
    }
}

// The listener is in place before the request goes out, so a fast answer is not missed.
void CtlClient::ask(const QString& request, const QString& answer, AnswerHandler handler)
{
    m_channel.listenForMessage(answer, this,
                               [this, handler](const std::optional<QJsonValue>& message) {
                                   if (!m_finished)
                                       (this->*handler)(message);
                               });
    m_timer.start(m_options.answerTimeoutMs());
    m_channel.passMessageObject(QJsonValue(QString()), request);
}

void CtlClient::printStatus(const std::optional<QJsonValue>& message)
{
    m_out << (m_options.json ? CtlFormatter::jsonLine(message) : QStringLiteral("running\n"));
    finish(Success);
}

void CtlClient::printList(const std::optional<QJsonValue>& message)
{
    if (!message || !message->isArray()) {
        m_err << "vantrelctl: Vantrel's answer could not be read\n";
        finish(NoAnswer);
        return;
    }
    m_out << (m_options.json ? CtlFormatter::jsonLine(message)
                             : CtlFormatter::summaryLines(*message));
    finish(Success);
}

// Only the uuid counts for Vantrel, but the message is a whole summary so that it decodes as one.
void CtlClient::passCopy(const std::optional<QJsonValue>&)
{
    m_timer.stop();
    namespace Keys = ChannelMessages::SummaryKeys;
    const QJsonObject summary = {{Keys::uuid, m_options.uuid},
                                 {Keys::date, 0.0},
                                 {Keys::app, QString()},
                                 {Keys::desc, QString()},
                                 {Keys::marked, false}};
    m_channel.passMessageObject(summary, ChannelMessages::copy);
    m_channel.flush(this, [this] { finish(Success); });
}

void CtlClient::watch()
{
    connect(&m_channel, &MessageChannelWormhole::messageAnnounced, this,
            &CtlClient::printAnnouncement);
    if (m_options.timeoutMs)
        m_timer.start(*m_options.timeoutMs);
}

void CtlClient::printAnnouncement(const QString& identifier)
{
    const bool needsPayload = m_options.json || CtlFormatter::carriesSummaries(identifier);
    const std::optional<QJsonValue> message =
        needsPayload ? m_channel.readMessage(identifier) : std::nullopt;
    m_out << CtlFormatter::watchLines(identifier, message, m_options.json);
    // Each announcement reaches a pipe as soon as it happens.
    m_out.flush();
}

void CtlClient::onTimeout()
{
    if (m_options.command == CtlOptions::Command::Watch) {
        finish(Success);
        return;
    }
    m_err << QStringLiteral("vantrelctl: Vantrel did not answer within %1 ms\n")
                 .arg(m_options.answerTimeoutMs());
    finish(NoAnswer);
}

void CtlClient::finish(int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    m_timer.stop();
    m_out.flush();
    m_err.flush();
    emit finished(exitCode);
}
