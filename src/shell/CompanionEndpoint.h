#pragma once

#include "shell/CompanionSearch.h"

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <optional>

class DBManager;
class MessageChannel;
class PBWatcher;
class Retention;

// The application's end of the message channel with the companion client: it announces the
// launch when made and the end when told, tells of each change of the history (an insert, a
// deletion, a marking, the recent items after a load or a retention pass) as the store and the
// retention pass signal it, answers the companion's requests for the launch state and the recent
// and marked summaries and its searches of the history, and puts an item the companion names back
// on the clipboard, answering a request that asks for it whether that was done. Main thread.
class CompanionEndpoint : public QObject
{
    Q_OBJECT

public:
    // Announces the launch and starts listening. All must outlive the endpoint.
    CompanionEndpoint(MessageChannel& channel, DBManager& dbManager, Retention& retention,
                      PBWatcher& watcher, QObject* parent = nullptr);

    void passLaunchedMessage();
    void passTerminalMessage();
    // The summaries of the first recent items, newest first.
    void passRecentItems();
    // The summaries of every marked item.
    void passMarkedItems();

private:
    void announceChanges(Retention& retention);
    void recentRequested();
    void markedRequested();
    void copyRequested(const std::optional<QJsonValue>& message);
    void searchRequested(const std::optional<QJsonValue>& message);
    QString copyItem(const QString& uuid);

    MessageChannel& m_channel;
    DBManager& m_dbManager;
    PBWatcher& m_watcher;
    CompanionSearch m_search;
};
