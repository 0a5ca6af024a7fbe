#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>
#include <vector>

// A value whose observers get the current value at once when they start observing, then every
// value set afterwards (also a value equal to the previous one). Used on one thread only.
template <class T> class ObservableValue
{
public:
    using Observer = std::function<void(const T& value)>;

    const T& value() const { return m_value; }

    void set(const T& value)
    {
        m_value = value;
        const auto observers = m_observers;
        for (const auto& [context, observer] : observers) {
            if (context)
                observer(m_value);
        }
        std::erase_if(m_observers, [](const auto& entry) { return entry.first.isNull(); });
    }

    // The observer is dropped once the context is destroyed.
    void observe(QObject* context, Observer observer)
    {
        observer(m_value);
        m_observers.emplace_back(context, std::move(observer));
    }

private:
    T m_value{};
    std::vector<std::pair<QPointer<QObject>, Observer>> m_observers;
};
