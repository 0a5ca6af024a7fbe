#include "shell/ReviewPrompt.h"

#include "platform/Review.h"
#include "storage/UserDefaults.h"
#include "support/Logging.h"

#include <QTimer>

ReviewPrompt::ReviewPrompt(Review& review, UserDefaults& defaults, const QString& version,
                           int delayMs, QObject* parent)
    : QObject(parent), m_review(review), m_defaults(defaults), m_version(version),
      m_delayMs(delayMs)
{}

void ReviewPrompt::mainWindowAppeared()
{
    if (++m_appearances == appearancesBeforeAsking)
        QTimer::singleShot(m_delayMs, this, &ReviewPrompt::requestOnce);
}

void ReviewPrompt::requestOnce()
{
    const QString key = UserDefaults::rateKey(m_version);
    if (m_defaults.value(key).toBool())
        return;
    qCInfo(lcShell) << "review requested for version" << m_version;
    m_review.requestReview();
    // Written at once: a crash later in the run must not make the next run ask again.
    m_defaults.setValue(key, true);
}
