#include "item/PBContent_Extension.h"

#include "item/ContentIcons.h"
#include "support/ChannelMessages.h"

namespace Keys = ChannelMessages::SummaryKeys;

// An absent source application is written as null, so that it comes back absent.
QJsonObject PBContent_Extension::toJson() const
{
    return QJsonObject{{Keys::uuid, uuid},
                       {Keys::date, date},
                       {Keys::app, app.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(app)},
                       {Keys::desc, desc},
                       {Keys::marked, marked}};
}

std::optional<PBContent_Extension> PBContent_Extension::fromJson(const QJsonObject& object)
{
    const QJsonValue appValue = object.value(Keys::app);
    if (!object.value(Keys::uuid).isString() || !object.value(Keys::date).isDouble() ||
        !(appValue.isString() || appValue.isNull()) || !object.value(Keys::desc).isString() ||
        !object.value(Keys::marked).isBool())
        return std::nullopt;
    PBContent_Extension summary;
    summary.uuid = object.value(Keys::uuid).toString();
    summary.date = object.value(Keys::date).toDouble();
    summary.app = appValue.isNull() ? QString() : appValue.toString();
    summary.desc = object.value(Keys::desc).toString();
    summary.marked = object.value(Keys::marked).toBool();
    return summary;
}

QIcon PBContent_Extension::icon()
{
    if (!m_icon)
        m_icon = ContentIcons::forSourceApplication(app);
    return *m_icon;
}
