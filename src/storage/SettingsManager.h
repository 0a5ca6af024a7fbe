#pragma once

#include "storage/SettingsModel.h"

#include <QString>

// Owns the settings model: loads it from the file "config" in its folder when made, and writes it
// back with save(), which the application's quit sequence does.
class SettingsManager
{
public:
    // Loads from <folder>/config; a missing or empty file gives the defaults. So does an
    // unreadable or unacceptable one, which is first renamed to "config.damaged-<date and time>"
    // in the same folder (with a warning naming it), so that saving the defaults never destroys
    // what the user had.
    explicit SettingsManager(const QString& folder);

    SettingsModel& model() { return m_model; }
    const SettingsModel& model() const { return m_model; }
    QString filePath() const { return m_filePath; }

    // Replaces the file with the model's JSON in one atomic rename, so a failed write leaves the
    // previous file whole. Creates the folder (0700) when needed; the file is 0600.
    bool save() const;

private:
    void keepDamagedFile() const;

    QString m_folder;
    QString m_filePath;
    SettingsModel m_model;
};
