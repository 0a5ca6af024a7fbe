#include "storage/SettingsModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {
// The texts of a JSON array of texts; nullopt for anything else, so that a member of the wrong
// kind keeps its default.
std::optional<QStringList> texts(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue& element : value.toArray()) {
        if (!element.isString())
            return std::nullopt;
        list.append(element.toString());
    }
    return list;
}
} // namespace

std::optional<SettingsModel> SettingsModel::initWithString(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    SettingsModel model;
    // toInteger() answers its argument for anything but a whole number, so a member of the
    // wrong kind leaves just that field at its default.
    model.m_copyMode = CopyMode(object.value("copyMode"_L1).toInteger(qint64(model.m_copyMode)));
    model.m_saveMode = SaveMode(object.value("saveMode"_L1).toInteger(qint64(model.m_saveMode)));
    model.m_saveTime = object.value("saveTime"_L1).toInteger(model.m_saveTime);
    model.m_saveCount = object.value("saveCount"_L1).toInteger(model.m_saveCount);
    model.m_pasteFromMiniWindow =
        object.value("pasteFromMiniWindow"_L1).toBool(model.m_pasteFromMiniWindow);
    model.m_pasteFromMainWindow =
        object.value("pasteFromMainWindow"_L1).toBool(model.m_pasteFromMainWindow);
    model.m_terminalApplications =
        texts(object.value("terminalApplications"_L1)).value_or(model.m_terminalApplications);
    model.m_ignoredApplications =
        texts(object.value("ignoredApplications"_L1)).value_or(model.m_ignoredApplications);
    return model;
}

QByteArray SettingsModel::toJson() const
{
    const QJsonObject object{
        {"copyMode"_L1, qint64(m_copyMode)},
        {"saveMode"_L1, qint64(m_saveMode)},
        {"saveTime"_L1, m_saveTime},
        {"saveCount"_L1, m_saveCount},
        {"pasteFromMiniWindow"_L1, m_pasteFromMiniWindow},
        {"pasteFromMainWindow"_L1, m_pasteFromMainWindow},
        {"terminalApplications"_L1, QJsonArray::fromStringList(m_terminalApplications)},
        {"ignoredApplications"_L1, QJsonArray::fromStringList(m_ignoredApplications)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

double SettingsModel::keepSeconds() const
{
    const bool offered = m_saveTime >= 0 && m_saveTime < qint64(keepDurations.size());
    return offered ? keepDurations[size_t(m_saveTime)] : keepDurations.front();
}

qsizetype SettingsModel::keepCount() const
{
    const bool offered = m_saveCount >= 0 && m_saveCount < qint64(keepCounts.size());
    return offered ? keepCounts[size_t(m_saveCount)] : keepCounts.back();
}

// Window classes and desktop-file ids of the terminals most desktops ship, case-folded.
QStringList SettingsModel::defaultTerminalApplications()
{
    return {u"xterm"_s,
            u"uxterm"_s,
            u"debian-xterm"_s,
            u"debian-uxterm"_s,
            u"urxvt"_s,
            u"org.gnome.terminal"_s,
            u"gnome-terminal"_s,
            u"org.gnome.console"_s,
            u"kgx"_s,
            u"org.kde.konsole"_s,
            u"konsole"_s,
            u"xfce4-terminal"_s,
            u"alacritty"_s,
            u"kitty"_s,
            u"foot"_s,
            u"org.wezfurlong.wezterm"_s,
            u"com.gexperts.tilix"_s,
            u"tilix"_s,
            u"terminator"_s,
            u"lxterminal"_s,
            u"mate-terminal"_s,
            u"qterminal"_s,
            u"st-256color"_s,
            u"com.mitchellh.ghostty"_s};
}

bool SettingsModel::isTerminal(const QString& applicationId) const
{
    return !applicationId.isEmpty() &&
           m_terminalApplications.contains(applicationId, Qt::CaseInsensitive);
}
