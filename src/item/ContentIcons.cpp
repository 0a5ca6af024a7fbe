#include "item/ContentIcons.h"

#include "platform/xdg/DesktopEntries.h"

#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

// The resources live in a static library, so they are registered by hand before first use.
static void registerCoreIcons()
{
    Q_INIT_RESOURCE(core_icons);
}

namespace {
QIcon resourceIcon(const QString& name)
{
    static const bool registered = (registerCoreIcons(), true);
    Q_UNUSED(registered);
    return ContentIcons::resource(name);
}
} // namespace

// Never freed: the icons' engines come from a plug-in, which may be gone when statics are
// destroyed.
QIcon ContentIcons::resource(const QString& name)
{
    static auto* const made = new QHash<QString, QIcon>();
    const auto found = made->constFind(name);
    if (found != made->cend())
        return *found;
    return *made->insert(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
}

QIcon ContentIcons::missingApp()
{
    return resourceIcon(QStringLiteral("icon_miss_app"));
}

QIcon ContentIcons::missingFile()
{
    return resourceIcon(QStringLiteral("icon_miss_file"));
}

QIcon ContentIcons::forSourceApplication(const QString& app)
{
    if (app.isNull())
        return missingFile();
    const QIcon icon = DesktopEntries::applicationIcon(app);
    return icon.isNull() ? missingApp() : icon;
}

QIcon ContentIcons::forFile(const QString& path)
{
    return themeIcon(fileIconNames(path));
}

QStringList ContentIcons::fileIconNames(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    if (info.isDir())
        return {QStringLiteral("folder")};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    return {type.iconName(), type.genericIconName()};
}

QIcon ContentIcons::themeIcon(const QStringList& names)
{
    QIcon icon;
    for (auto it = names.crbegin(); it != names.crend(); ++it)
        icon = QIcon::fromTheme(*it, icon);
    return icon;
}
