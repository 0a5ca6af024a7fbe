#pragma once

#include <QObject>
#include <QString>
#include <memory>

class UserDefaults;

// A yes-or-no choice kept under one key of the user defaults (false when the key is absent or not
// a yes or no), so a change made in the file by hand is followed. Main thread.
class BooleanSetting : public QObject
{
    Q_OBJECT

public:
    // The value of `key` in the user defaults at `userDefaultsPath`.
    BooleanSetting(const QString& userDefaultsPath, const QString& key, QObject* parent = nullptr);
    ~BooleanSetting() override;

    bool value() const;
    void setValue(bool value);

signals:
    void changed(bool value);

private:
    void reload();

    std::unique_ptr<UserDefaults> m_defaults;
    QString m_key;
    bool m_value = false;
};
