#include "CtlClient.h"

#include "CtlFormatter.h"
#include "support/ChannelMessages.h"
#include "support/MessageChannelWormhole.h"

#include <QJsonObject>
#include <QTextStream>
#include <QUuid>

namespace {
// A copy Vantrel could not make fails as an unanswered request does.
enum ExitStatus { Success = 0, NoAnswer = 1, Failure = 1 };
} // namespace

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
    case CtlOptions::Command::Search:
    case CtlOptions::Command::List:
        passSearch();
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

// The listener is in place before the request goes out, so a fast answer is not missed. Each
// question gets the whole timeout.
void CtlClient::ask(const QString& request, const QString& answer, AnswerHandler handler,
                    const QJsonValue& payload)
{
    m_channel.listenForMessage(answer, this,
                               [this, handler](const std::optional<QJsonValue>& message) {
                                   if (!m_finished)
                                       (this->*handler)(message);
                               });
    m_timer.start(m_options.answerTimeoutMs());
    m_channel.passMessageObject(payload, request);
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

// Only the uuid counts for Vantrel, but the message is a whole summary so that it decodes as one;
// the reply token names the identifier of this request's own answer.
void CtlClient::passCopy(const std::optional<QJsonValue>&)
{
    // Another client's question may make Vantrel announce its launch again.
    if (!m_copyAnswer.isEmpty())
        return;
    namespace Keys = ChannelMessages::SummaryKeys;
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QJsonObject summary = {{Keys::uuid, m_options.uuid}, {Keys::date, 0.0},
                                 {Keys::app, QString()},       {Keys::desc, QString()},
                                 {Keys::marked, false},        {Keys::reply, token}};
    m_copyAnswer = ChannelMessages::copyAnswerPrefix + token;
    ask(ChannelMessages::copy, m_copyAnswer, &CtlClient::printCopyAnswer, summary);
}

// The answer is this request's alone: its file goes once read.
void CtlClient::printCopyAnswer(const std::optional<QJsonValue>& message)
{
    m_channel.removeMessage(m_copyAnswer);
    namespace Keys = ChannelMessages::CopyAnswerKeys;
    const QJsonObject answer = message.value_or(QJsonValue()).toObject();
    if (m_options.json)
        m_out << CtlFormatter::jsonLine(message);
    if (answer.value(Keys::copied).toBool()) {
        finish(Success);
        return;
    }
    const QString error = answer.value(Keys::error).toString();
    m_err << QStringLiteral("vantrelctl: %1: %2\n")
                 .arg(error.isEmpty() ? QStringLiteral("Vantrel did not copy the item") : error,
                      m_options.uuid);
    finish(Failure);
}

void CtlClient::passSearch()
{
    namespace Keys = ChannelMessages::SearchKeys;
    const QString token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QJsonObject request = {
        {Keys::text, m_options.text}, {Keys::limit, m_options.limit}, {Keys::reply, token}};
    if (!m_options.kind.isEmpty())
        request.insert(Keys::kind, m_options.kind);
    m_searchAnswer = ChannelMessages::searchAnswerPrefix + token;
    ask(ChannelMessages::requestSearch, m_searchAnswer, &CtlClient::printSearchAnswer, request);
}

// The answer is this request's alone: its file goes once read.
void CtlClient::printSearchAnswer(const std::optional<QJsonValue>& message)
{
    m_channel.removeMessage(m_searchAnswer);
    printList(message);
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
