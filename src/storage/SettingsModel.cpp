#include "storage/SettingsModel.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

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
    return model;
}

QByteArray SettingsModel::toJson() const
{
    const QJsonObject object{
        {"copyMode"_L1, qint64(m_copyMode)},
        {"saveMode"_L1, qint64(m_saveMode)},
        {"saveTime"_L1, m_saveTime},
        {"saveCount"_L1, m_saveCount},
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
