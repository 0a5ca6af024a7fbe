#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

// The user's preferences, held in memory and mapped to and from the settings file's JSON object
// with the members "copyMode", "saveMode", "saveTime", "saveCount", "pasteFromMiniWindow",
// "pasteFromMainWindow", "terminalApplications" and "ignoredApplications". Readers take the values
// at the moment of use. A number the preferences never write (a hand edit) is kept as it stands, so
// saving gives it back; each reader says what such a number means.
class SettingsModel
{
public:
    // Any value but Copy counts as "Copy twice".
    enum class CopyMode : qint64 { Copy = 0, CopyTwice = 1 };
    // "Keep records:"; any other value keeps everything until the user deletes it.
    enum class SaveMode : qint64 { ByDuration = 0, ByNumber = 1, ClearWhenExiting = 2, Manual = 3 };

    // The choices of saveTime: 24 hours, 3 days, 5 days, 1 week, in seconds.
    static constexpr std::array<double, 4> keepDurations = {86'400, 3 * 86'400, 5 * 86'400,
                                                            7 * 86'400};
    // The choices of saveCount: how many items are kept.
    static constexpr std::array<qsizetype, 4> keepCounts = {100, 300, 500, 1000};

    // A model from JSON text: the defaults, replaced by each member the object has. A member
    // that is not a whole number keeps its default on its own; nullopt when the text is not a
    // JSON object.
    static std::optional<SettingsModel> initWithString(const QByteArray& json);
    // The model as a JSON object without white space.
    QByteArray toJson() const;

    CopyMode copyMode() const { return m_copyMode; }
    void setCopyMode(CopyMode mode) { m_copyMode = mode; }
    SaveMode saveMode() const { return m_saveMode; }
    void setSaveMode(SaveMode mode) { m_saveMode = mode; }
    // The index of the duration kept by SaveMode::ByDuration in keepDurations.
    qint64 saveTime() const { return m_saveTime; }
    void setSaveTime(qint64 time) { m_saveTime = time; }
    // The index of the number kept by SaveMode::ByNumber in keepCounts.
    qint64 saveCount() const { return m_saveCount; }
    void setSaveCount(qint64 count) { m_saveCount = count; }

    // How long items are kept by duration. A choice outside the table keeps the shortest.
    double keepSeconds() const;
    // How many items are kept by number. A choice outside the table keeps the most, so a hand
    // edit never prunes more than the largest choice would.
    qsizetype keepCount() const;

    // Whether choosing an item in the mini window (the main window) also pastes it into the
    // application the window was called from.
    bool pasteFromMiniWindow() const { return m_pasteFromMiniWindow; }
    void setPasteFromMiniWindow(bool paste) { m_pasteFromMiniWindow = paste; }
    bool pasteFromMainWindow() const { return m_pasteFromMainWindow; }
    void setPasteFromMainWindow(bool paste) { m_pasteFromMainWindow = paste; }

    // The applications (ids or window classes, in any case) that paste with Ctrl+Shift+V.
    QStringList terminalApplications() const { return m_terminalApplications; }
    void setTerminalApplications(const QStringList& ids) { m_terminalApplications = ids; }
    static QStringList defaultTerminalApplications();
    bool isTerminal(const QString& applicationId) const;

    // The applications whose copies are never recorded, by their ids.
    QStringList ignoredApplications() const { return m_ignoredApplications; }
    void setIgnoredApplications(const QStringList& ids) { m_ignoredApplications = ids; }

    friend bool operator==(const SettingsModel&, const SettingsModel&) = default;

private:
    CopyMode m_copyMode = CopyMode::Copy;
    SaveMode m_saveMode = SaveMode::Manual;
    qint64 m_saveTime = 0;
    qint64 m_saveCount = 0;
    bool m_pasteFromMiniWindow = true;
    bool m_pasteFromMainWindow = false;
    QStringList m_terminalApplications = defaultTerminalApplications();
    QStringList m_ignoredApplications;
};
