#pragma once

#include <QObject>
#include <QString>
#include <memory>

class UserDefaults;

// Whether a web address in a preview loads its live page as soon as it is shown, or only when the
// user presses "Load Page" (the default). A load sends what the user copied to the network (the
// name lookup, then the site) and uses up one-time links, so it waits for the user unless they
// chose otherwise. Kept in the user defaults, so a change made in the file by hand is followed.
// Main thread.
class WebPreviewSetting : public QObject
{
    Q_OBJECT

public:
    // The setting in the user defaults at `userDefaultsPath`.
    explicit WebPreviewSetting(const QString& userDefaultsPath, QObject* parent = nullptr);
    ~WebPreviewSetting() override;

    bool loadsPages() const;
    void setLoadsPages(bool loads);

signals:
    void loadsPagesChanged(bool loads);

private:
    void reload();

    std::unique_ptr<UserDefaults> m_defaults;
    bool m_loads = false;
};
