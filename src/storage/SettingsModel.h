#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// The user's preferences, held in memory and mapped to and from the settings file's JSON object
// with the members "copyMode", "saveMode", "saveTime" and "saveCount". Readers take the values at
// the moment of use.
class SettingsModel
{
public:
    // A model from JSON text: the defaults, replaced by each member the object has. A member
    // that is not a whole number keeps its default on its own; nullopt when the text is not a
    // JSON object.
    static std::optional<SettingsModel> initWithString(const QByteArray& json);
    // The model as a JSON object without white space.
    QByteArray toJson() const;

    // 0 "Copy"; any other value "Copy twice".
    qint64 copyMode() const { return m_copyMode; }
    void setCopyMode(qint64 mode) { m_copyMode = mode; }
    // 0 by duration, 1 by number, 2 clear when exiting, 3 manual deletion only.
    qint64 saveMode() const { return m_saveMode; }
    void setSaveMode(qint64 mode) { m_saveMode = mode; }
    // Duration choice for saveMode 0: 0 24 hours, 1 3 days, 2 5 days, 3 1 week.
    qint64 saveTime() const { return m_saveTime; }
    void setSaveTime(qint64 time) { m_saveTime = time; }
    // Number choice for saveMode 1: 0 100, 1 300, 2 500, 3 1000 items.
    qint64 saveCount() const { return m_saveCount; }
    void setSaveCount(qint64 count) { m_saveCount = count; }

    friend bool operator==(const SettingsModel&, const SettingsModel&) = default;

private:
    qint64 m_copyMode = 0;
    qint64 m_saveMode = 3;
    qint64 m_saveTime = 0;
    qint64 m_saveCount = 0;
};
