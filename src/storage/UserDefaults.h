#pragma once

#include <QFileSystemWatcher>
#include <QLatin1StringView>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>
#include <memory>

class QSettings;

// The user defaults: one INI file per user, $XDG_CONFIG_HOME/vantrel/vantrel.conf (default
// ~/.config/vantrel/vantrel.conf), private to the user (file 0600, folders made 0700). What is
// set here is written at once; what another process writes to the file is read when the file
// changes on disk. Either way `changed` follows.
class UserDefaults : public QObject
{
    Q_OBJECT

public:
    static constexpr QLatin1StringView mainWindowShortcutKey{"MainWindowShortcut"};
    static constexpr QLatin1StringView miniWindowShortcutKey{"MiniWindowShortcut"};
    // true: a web address in a preview loads its live page as soon as it is shown. Otherwise it
    // waits until the user presses "Load Page": a load sends what the user copied to the network
    // (the name lookup, then the site) and uses up one-time links.
    static constexpr QLatin1StringView loadWebPagesKey{"LoadWebPagesInPreviews"};
    // true: the history lists show compact rows (one-line height for an icon and two short
    // lines) in place of the comfortable ones.
    static constexpr QLatin1StringView compactRowsKey{"CompactRows"};
    // true once the first run's welcome was shown, and once the notice of a desktop without a
    // tray was: each is shown in one run only.
    static constexpr QLatin1StringView welcomeShownKey{"WelcomeShown"};
    static constexpr QLatin1StringView noTrayNoticeShownKey{"NoTrayNoticeShown"};
    // "com.quorvex.rate_<version>": true once the rating request was made for that version.
    static QString rateKey(const QString& version);

    // The defaults in the INI file at `path`; its folder is created when missing.
    explicit UserDefaults(const QString& path = defaultPath(), QObject* parent = nullptr);
    ~UserDefaults() override;

    // $XDG_CONFIG_HOME/vantrel/vantrel.conf. QSettings' own IniFormat user path would end in
    // ".ini", so the file is named here.
    static QString defaultPath();
    QString path() const;

    // The value as the file holds it now (an invalid QVariant when the key is absent).
    QVariant value(const QString& key) const;
    // Store the value, or take the key away, and write the file at once.
    void setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);

signals:
    // A value may have changed: set here, or written to the file by another process.
    void changed();

private:
    void write();
    void watchFile();
    void fileChanged();
    void reload();

    std::unique_ptr<QSettings> m_settings;
    QFileSystemWatcher m_watcher;
    QTimer m_reloadTimer;
};
