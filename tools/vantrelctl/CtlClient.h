#pragma once

#include "CtlOptions.h"

#include <QJsonValue>
#include <QObject>
#include <QTimer>
#include <optional>

class MessageChannelWormhole;
class QTextStream;

// Runs one vantrelctl command over the channel: asks, waits for the answer on the event loop
// with a timeout, prints, and reports the exit status through finished().
//   status, recent, marked: send the request with an empty text payload and print the answer.
//   copy: ask "app.isLaunched" first; once Vantrel answers, pass "copy" with a summary holding
//     the uuid and a reply token, and wait for Vantrel's answer under that token: success when
//     the item is on the clipboard, failure with Vantrel's reason ("no such item", ...) when not.
//   search, list: pass "request.search" with the text, the limit, the kind and a reply token, and
//     print the summaries Vantrel answers under that token.
//   watch: print every announcement until the timeout, if one was given.
class CtlClient : public QObject
{
    Q_OBJECT

public:
    CtlClient(const CtlOptions& options, MessageChannelWormhole& channel, QTextStream& out,
              QTextStream& err, QObject* parent = nullptr);

    // Starts the command; call it from the running event loop.
    void start();

signals:
    void finished(int exitCode);

private:
    using AnswerHandler = void (CtlClient::*)(const std::optional<QJsonValue>& message);

    void ask(const QString& request, const QString& answer, AnswerHandler handler,
             const QJsonValue& payload = QJsonValue(QString()));
    void printStatus(const std::optional<QJsonValue>& message);
    void printList(const std::optional<QJsonValue>& message);
    void passCopy(const std::optional<QJsonValue>& launched);
    void printCopyAnswer(const std::optional<QJsonValue>& message);
    void passSearch();
    void printSearchAnswer(const std::optional<QJsonValue>& message);
    void watch();
    void printAnnouncement(const QString& identifier);
    void onTimeout();
    void finish(int exitCode);

    const CtlOptions m_options;
    MessageChannelWormhole& m_channel;
    QTextStream& m_out;
    QTextStream& m_err;
    QTimer m_timer;
    // The identifier of this run's copy or search answer.
    QString m_copyAnswer;
    QString m_searchAnswer;
    bool m_finished = false;
};
