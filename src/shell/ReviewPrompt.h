#pragma once

#include <QObject>
#include <QString>

class Review;

// The rating request after the main window's fifth appearance in a run, asked at most once per
// application version: the key "com.quorvex.rate_<version>" in the user defaults records that it
// was asked. The count lives only as long as the process.
class ReviewPrompt : public QObject
{
    Q_OBJECT

public:
    static constexpr int appearancesBeforeAsking = 5;
    static constexpr int delayMs = 1500;

    // The user defaults are the INI file at userDefaultsPath.
    ReviewPrompt(Review& review, const QString& userDefaultsPath, const QString& version,
                 int delayMs = ReviewPrompt::delayMs, QObject* parent = nullptr);

    static QString storedKey(const QString& version);

    // One more appearance of the main window; the fifth schedules the request.
    void mainWindowAppeared();
    int appearances() const { return m_appearances; }

private:
    void requestOnce();

    Review& m_review;
    QString m_userDefaultsPath;
    QString m_version;
    int m_delayMs;
    int m_appearances = 0;
};
