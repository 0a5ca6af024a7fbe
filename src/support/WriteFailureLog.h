#pragma once

#include <QLoggingCategory>
#include <QString>
#include <mutex>

// The log of one kind of write (the payload files, the channel's messages) that may fail many
// times in a row for one reason: a full disk fails every copy. A run of failures with the same
// reason is one warning line, not one per write; a different reason warns again, and the first
// success after a failure says that writing works again. Any thread.
class WriteFailureLog
{
public:
    // `what` names the files ("payload files in /path"), `consequence` says what their failure
    // means to the user ("copies are not recorded").
    WriteFailureLog(const QLoggingCategory& category, QString what, QString consequence);

    // A write failed with this errno value.
    void failed(int error);
    // A write succeeded.
    void succeeded();

private:
    const QLoggingCategory& m_category;
    const QString m_what;
    const QString m_consequence;
    std::mutex m_mutex;
    // The errno value of the failure reported last; 0 while writes succeed.
    int m_reported = 0;
};
