#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// A load makes one object per row, yet rows share a few distinct type lists and application ids:
// handing out one implicitly shared copy of each keeps a loaded history small.
class SharedRowTexts
{
public:
    QStringList types(const QString& joined, const QString& separator)
    {
        auto it = m_types.constFind(joined);
        if (it == m_types.cend())
            it = m_types.insert(joined, joined.split(separator));
        return *it;
    }

    QString app(const QString& app)
    {
        // A NULL column stays null: the hash takes null and "" for one key, and would hand a
        // row without a source application another row's "".
        if (app.isNull())
            return app;
        auto it = m_apps.constFind(app);
        if (it == m_apps.cend())
            it = m_apps.insert(app, app);
        return *it;
    }

private:
    QHash<QString, QStringList> m_types;
    QHash<QString, QString> m_apps;
};
