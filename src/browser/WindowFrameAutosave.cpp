#include "browser/WindowFrameAutosave.h"

#include "storage/UserDefaults.h"

#include <QEvent>
#include <QWidget>

namespace {
QString dividerKey(const QString& name)
{
    return name + QStringLiteral(" Divider");
}
} // namespace

WindowFrameAutosave::WindowFrameAutosave(QWidget& window, const QString& name,
                                         const QString& userDefaultsPath)
    : m_window(window), m_name(name),
      m_userDefaultsPath(userDefaultsPath.isEmpty() ? UserDefaults::defaultPath()
                                                    : userDefaultsPath)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(300);
    connect(&m_saveTimer, &QTimer::timeout, this, &WindowFrameAutosave::saveFrame);
    m_window.installEventFilter(this);
}

WindowFrameAutosave::~WindowFrameAutosave()
{
    if (m_saveTimer.isActive())
        saveFrame();
}

void WindowFrameAutosave::setDivider(std::function<int()> read, std::function<void(int)> apply)
{
    m_readDivider = std::move(read);
    m_applyDivider = std::move(apply);
}

bool WindowFrameAutosave::restore()
{
    const UserDefaults defaults(m_userDefaultsPath);
    const int divider = defaults.value(dividerKey(m_name)).toInt();
    if (m_applyDivider && divider > 0)
        m_applyDivider(divider);
    const QByteArray frame = defaults.value(m_name).toByteArray();
    return !frame.isEmpty() && m_window.restoreGeometry(frame);
}

void WindowFrameAutosave::saveFrame()
{
    m_saveTimer.stop();
    saveFrameUsingName(m_name);
}

void WindowFrameAutosave::saveFrameUsingName(const QString& name) const
{
    // Through the user defaults, which keep their file private.
    UserDefaults defaults(m_userDefaultsPath);
    defaults.setValue(name, m_window.saveGeometry());
    if (m_readDivider && m_readDivider() > 0)
        defaults.setValue(dividerKey(name), m_readDivider());
}

bool WindowFrameAutosave::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window.isVisible())
                m_saveTimer.start();
            break;
        case QEvent::Hide:
            saveFrame();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
