#include "support/WriteFailureLog.h"

WriteFailureLog::WriteFailureLog(const QLoggingCategory& category, QString what,
                                 QString consequence)
    : m_category(category), m_what(std::move(what)), m_consequence(std::move(consequence))
{}

void WriteFailureLog::failed(int error)
{
    const std::lock_guard lock(m_mutex);
    if (error == m_reported)
        return;
    m_reported = error;
    qCWarning(m_category).noquote().nospace()
        << m_what << " cannot be written (" << qt_error_string(error) << "): " << m_consequence
        << " until they can be";
}

void WriteFailureLog::succeeded()
{
    const std::lock_guard lock(m_mutex);
    if (m_reported == 0)
        return;
    m_reported = 0;
    qCInfo(m_category).noquote() << m_what << "are written again";
}
