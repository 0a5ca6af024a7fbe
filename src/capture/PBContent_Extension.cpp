#include "capture/PBContent_Extension.h"

#include "capture/ContentIcons.h"

namespace {
const QString uuidKey = QStringLiteral("uuid");
const QString dateKey = QStringLiteral("date");
const QString appKey = QStringLiteral("app");
const QString descKey = QStringLiteral("desc");
const QString markedKey = QStringLiteral("marked");
} // namespace

// An absent source application is written as null, so that it comes back absent.
QJsonObject PBContent_Extension::toJson() const
{
    return QJsonObject{{uuidKey, uuid},
                       {dateKey, date},
                       {appKey, app.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(app)},
                       {descKey, desc},
                       {markedKey, marked}};
}

std::optional<PBContent_Extension> PBContent_Extension::fromJson(const QJsonObject& object)
{
    const QJsonValue appValue = object.value(appKey);
    if (!object.value(uuidKey).isString() || !object.value(dateKey).isDouble() ||
        !(appValue.isString() || appValue.isNull()) || !object.value(descKey).isString() ||
        !object.value(markedKey).isBool())
        return std::nullopt;
    PBContent_Extension summary;
    summary.uuid = object.value(uuidKey).toString();
    summary.date = object.value(dateKey).toDouble();
    summary.app = appValue.isNull() ? QString() : appValue.toString();
    summary.desc = object.value(descKey).toString();
    summary.marked = object.value(markedKey).toBool();
    return summary;
}

QIcon PBContent_Extension::icon()
{
    if (!m_icon)
        m_icon = ContentIcons::forSourceApplication(app);
    return *m_icon;
}
