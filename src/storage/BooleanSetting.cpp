#include "storage/BooleanSetting.h"

#include "storage/UserDefaults.h"

BooleanSetting::BooleanSetting(const QString& userDefaultsPath, const QString& key, QObject* parent)
    : QObject(parent), m_defaults(std::make_unique<UserDefaults>(userDefaultsPath)), m_key(key)
{
    m_value = m_defaults->value(m_key).toBool();
    connect(m_defaults.get(), &UserDefaults::changed, this, &BooleanSetting::reload);
}

BooleanSetting::~BooleanSetting() = default;

bool BooleanSetting::value() const
{
    return m_value;
}

void BooleanSetting::setValue(bool value)
{
    m_defaults->setValue(m_key, value);
}

// Anything in the file may have changed; only a change of this value is told.
void BooleanSetting::reload()
{
    const bool value = m_defaults->value(m_key).toBool();
    if (value == m_value)
        return;
    m_value = value;
    emit changed(value);
}
