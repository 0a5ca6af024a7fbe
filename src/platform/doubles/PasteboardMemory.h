#pragma once

#include "platform/Pasteboard.h"

// A clipboard held in memory: the test double, and the fallback where no system clipboard
// exists.
class PasteboardMemory : public Pasteboard
{
public:
    qint64 changeCount() const override { return m_changeCount; }
    QList<PasteboardItem> pasteboardItems() override
    {
        ++m_readCount;
        return m_items;
    }
    bool writeItem(const QStringList& types, const QList<QByteArray>& payloads) override;
    // Announces changes only after setAnnouncesChanges(true); otherwise it must be polled.
    bool setChangeHandler(ChangeHandler handler) override;

    bool knowsOwners() const override { return m_knowsOwners; }
    void setIgnoredApplications(const QStringList& applicationIds) override
    {
        m_ignoredApplications = applicationIds;
    }
    void setKnowsOwners(bool knows) { m_knowsOwners = knows; }
    QStringList ignoredApplications() const { return m_ignoredApplications; }

    // Whether each change is announced at once, as a system clipboard that reports its changes.
    void setAnnouncesChanges(bool announces) { m_announces = announces; }

    // Replaces the content as another application would, moving the change count.
    void setItems(QList<PasteboardItem> items);
    // Number of pasteboardItems() reads since construction, so tests can see when the
    // content was looked at.
    int readCount() const { return m_readCount; }

private:
    QList<PasteboardItem> m_items;
    ChangeHandler m_changeHandler;
    bool m_announces = false;
    qint64 m_changeCount = 0;
    int m_readCount = 0;
    bool m_knowsOwners = true;
    QStringList m_ignoredApplications;
};
