#include "shell/ReviewPrompt.h"

#include "platform/Review.h"
#include "support/Logging.h"

#include <QFile>
#include <QSettings>
#include <QTimer>

ReviewPrompt::ReviewPrompt(Review& review, const QString& userDefaultsPath, const QString& version,
                           int delayMs, QObject* parent)
    : QObject(parent), m_review(review), m_userDefaultsPath(userDefaultsPath), m_version(version),
      m_delayMs(delayMs)
{}

QString ReviewPrompt::storedKey(const QString& version)
{
    return QStringLiteral("com.quorvex.rate_%1").arg(version);
}

void ReviewPrompt::mainWindowAppeared()
{
    if (++m_appearances == appearancesBeforeAsking)
        QTimer::singleShot(m_delayMs, this, &ReviewPrompt::requestOnce);
}

void ReviewPrompt::requestOnce()
{
    QSettings defaults(m_userDefaultsPath, QSettings::IniFormat);
    const QString key = storedKey(m_version);
    if (defaults.value(key).toBool())
        return;
    qCInfo(lcShell) << "review requested for version" << m_version;
    m_review.requestReview();
    defaults.setValue(key, true);
    // Written at once: a crash later in the run must not make the next run ask again.
    defaults.sync();
    QFile::setPermissions(m_userDefaultsPath, QFile::ReadOwner | QFile::WriteOwner);
}
