#include "storage/WebPreviewSetting.h"

#include "storage/UserDefaults.h"

WebPreviewSetting::WebPreviewSetting(const QString& userDefaultsPath, QObject* parent)
    : QObject(parent), m_defaults(std::make_unique<UserDefaults>(userDefaultsPath))
{
    m_loads = m_defaults->value(UserDefaults::loadWebPagesKey).toBool();
    connect(m_defaults.get(), &UserDefaults::changed, this, &WebPreviewSetting::reload);
}

WebPreviewSetting::~WebPreviewSetting() = default;

bool WebPreviewSetting::loadsPages() const
{
    return m_loads;
}

void WebPreviewSetting::setLoadsPages(bool loads)
{
    m_defaults->setValue(UserDefaults::loadWebPagesKey, loads);
}

// Anything in the file may have changed; only a change of this value is told.
void WebPreviewSetting::reload()
{
    const bool loads = m_defaults->value(UserDefaults::loadWebPagesKey).toBool();
    if (loads == m_loads)
        return;
    m_loads = loads;
    emit loadsPagesChanged(loads);
}
