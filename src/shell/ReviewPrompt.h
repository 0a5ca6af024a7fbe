#pragma once

#include <QObject>
#include <QString>

class Review;
class UserDefaults;

// The rating request after the main window's fifth appearance in a run, asked at most once per
// application version: the user defaults' rate key of the version records that it was asked. The
// count lives only as long as the process.
class ReviewPrompt : public QObject
{
    Q_OBJECT

public:
    static constexpr int appearancesBeforeAsking = 5;
    static constexpr int delayMs = 1500;

    // The defaults must outlive the prompt.
    ReviewPrompt(Review& review, UserDefaults& defaults, const QString& version,
                 int delayMs = ReviewPrompt::delayMs, QObject* parent = nullptr);

    // One more appearance of the main window; the fifth schedules the request.
    void mainWindowAppeared();

private:
    void requestOnce();

    Review& m_review;
    UserDefaults& m_defaults;
    QString m_version;
    int m_delayMs;
    int m_appearances = 0;
};
