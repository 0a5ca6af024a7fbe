#pragma once

#include <QIcon>
#include <QJsonObject>
#include <QString>
#include <optional>

// The summary of an item that travels to the companion client: no payloads, only what a list
// entry shows. Its JSON form is {"uuid":…,"date":…,"app":…,"desc":…,"marked":true|false}.
class PBContent_Extension
{
public:
    QString uuid;
    double date = 0;
    QString app;
    QString desc;
    bool marked = false;

    QJsonObject toJson() const;
    // A summary from its JSON form; nullopt when a member is missing or of the wrong kind.
    static std::optional<PBContent_Extension> fromJson(const QJsonObject& object);

    // The source application's icon ("icon_miss_app" when it has none that can be found,
    // "icon_miss_file" when app is absent); computed on first use, never archived.
    QIcon icon();

private:
    std::optional<QIcon> m_icon;
};
