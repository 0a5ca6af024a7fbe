#include "browser/WebPagePlugin.h"

#include "support/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace {
QString pluginFileIn(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString file = QDir(folder).filePath(WebPagePlugin::fileName());
        if (QFileInfo(file).isFile())
            return file;
    }
    return {};
}

// Chromium refuses to start as root with its sandbox on. The switch is made just before the
// engine is loaded, so only the engine runs without it, and only for root.
void prepareEngine()
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        qCInfo(lcBrowser, "running as root: the web preview runs without its sandbox");
    }
}
} // namespace

WebPagePlugin& WebPagePlugin::installed()
{
    static WebPagePlugin plugin(QCoreApplication::libraryPaths()
                                << QDir(QCoreApplication::applicationDirPath())
                                       .filePath(QStringLiteral(VANTREL_INSTALLED_PLUGIN_FOLDER)));
    return plugin;
}

WebPagePlugin::WebPagePlugin(const QStringList& folders) : m_file(pluginFileIn(folders)) {}

QString WebPagePlugin::fileName()
{
    return QStringLiteral(VANTREL_WEB_PLUGIN_FILE);
}

bool WebPagePlugin::isAvailable() const
{
    return !m_file.isEmpty();
}

WebPage* WebPagePlugin::makePage(QWidget* parent, WebPage::TitleHandler onTitle)
{
    const WebPageMaker make = maker();
    return make ? make(parent, std::move(onTitle)) : nullptr;
}

WebPageMaker WebPagePlugin::maker()
{
    if (m_tried || !isAvailable())
        return m_maker;
    m_tried = true;
    prepareEngine();
    m_library.setFileName(m_file);
    m_maker = reinterpret_cast<WebPageMaker>(m_library.resolve(webPageMakerName));
    if (!m_maker)
        qCWarning(lcBrowser, "the web preview cannot load pages: %s",
                  qUtf8Printable(m_library.errorString()));
    return m_maker;
}
