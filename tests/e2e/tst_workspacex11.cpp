#include "platform/x11/WorkspaceX11.h"
#include "platform/x11/XcbReply.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

using namespace Qt::StringLiterals;

namespace {
// The window manager's answers can take long on a loaded machine.
constexpr int busyMachineMs = 20'000;

// Another application's top-level windows, on a connection of their own.
class OtherApplication
{
public:
    OtherApplication() : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    }
    ~OtherApplication() { xcb_disconnect(m_connection); }

    // A shown window of this WM_CLASS (instance and class) and, unless empty, this
    // _GTK_APPLICATION_ID.
    uint32_t showWindow(const QByteArray& instance, const QByteArray& windowClass,
                        const QByteArray& gtkApplicationId)
    {
        const uint32_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_screen->root, 0, 0, 200,
                          100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual, 0, nullptr);
        const QByteArray wmClass = instance + '\0' + windowClass + '\0';
        setProperty(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, wmClass);
        if (!gtkApplicationId.isEmpty())
            setProperty(window, atom("_GTK_APPLICATION_ID"), atom("UTF8_STRING"), gtkApplicationId);
        xcb_map_window(m_connection, window);
        xcb_flush(m_connection);
        return window;
    }

    // Once the window manager has taken the window on, it can be activated.
    bool shown(uint32_t window) const
    {
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
        return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    // Gone for every client once this returns: the round trip after it waits for the server.
    void destroyWindow(uint32_t window)
    {
        xcb_destroy_window(m_connection, window);
        const XcbReply<xcb_get_input_focus_reply_t> roundTrip(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    void setProperty(uint32_t window, uint32_t property, uint32_t type, const QByteArray& value)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, 8,
                            uint32_t(value.size()), value.constData());
    }

    uint32_t atom(const char* name)
    {
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : uint32_t(XCB_ATOM_NONE);
    }

    xcb_connection_t* m_connection;
    xcb_screen_t* m_screen;
};
} // namespace

class TestWorkspaceX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void activatedWindowIsActiveWithItsApplication_data();
    void activatedWindowIsActiveWithItsApplication();
    void windowThatIsGoneHasNoApplicationAndCannotBeActivated();

private:
    QTemporaryDir m_dataHome;
    std::unique_ptr<OtherApplication> m_other;
    QHash<QString, uint32_t> m_windows;
    xcb_connection_t* m_connection = nullptr;
    std::unique_ptr<WorkspaceX11> m_workspace;
};

// Three windows, the last one shown taking the focus; a desktop entry names the editor's class.
void TestWorkspaceX11::initTestCase()
{
    QVERIFY(QDir(m_dataHome.path()).mkpath(u"applications"_s));
    QFile entry(m_dataHome.filePath(u"applications/org.example.Editor.desktop"_s));
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Editor\nExec=editor\n"
                "StartupWMClass=EditorWindow\n");
    entry.close();
    qputenv("XDG_DATA_HOME", m_dataHome.path().toLocal8Bit());

    m_other = std::make_unique<OtherApplication>();
    m_windows.insert(u"gtk"_s, m_other->showWindow("gtkapp", "GtkApp", "org.example.Gtk"));
    m_windows.insert(u"editor"_s, m_other->showWindow("editor", "EditorWindow", {}));
    m_windows.insert(u"plain"_s, m_other->showWindow("plain", "PlainWindow", {}));
    for (const uint32_t window : std::as_const(m_windows))
        QVERIFY(QTest::qWaitFor([&] { return m_other->shown(window); }, busyMachineMs));

    m_connection = xcb_connect(nullptr, nullptr);
    QVERIFY(!xcb_connection_has_error(m_connection));
    const uint32_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    m_workspace = std::make_unique<WorkspaceX11>(m_connection, root);
}

void TestWorkspaceX11::cleanupTestCase()
{
    m_workspace.reset();
    if (m_connection)
        xcb_disconnect(m_connection);
    m_other.reset();
}

void TestWorkspaceX11::activatedWindowIsActiveWithItsApplication_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("applicationId");
    // In turn, so that each activation takes the focus from another window.
    QTest::newRow("application id") << u"gtk"_s << u"org.example.Gtk"_s;
    QTest::newRow("desktop entry by its window class") << u"editor"_s << u"org.example.Editor"_s;
    QTest::newRow("window class") << u"plain"_s << u"PlainWindow"_s;
    QTest::newRow("back to the first") << u"gtk"_s << u"org.example.Gtk"_s;
}

void TestWorkspaceX11::activatedWindowIsActiveWithItsApplication()
{
    QFETCH(QString, window);
    QFETCH(QString, applicationId);
    const DesktopWindow wanted{m_windows.value(window)};
    // The window manager may have left the focus on the wanted window when the windows were
    // mapped: another one takes it first, so that the activation below has something to do.
    if (m_workspace->activeWindow() == wanted) {
        const DesktopWindow other{m_windows.value(window == u"plain"_s ? u"editor"_s : u"plain"_s)};
        QVERIFY(m_workspace->activateWindow(other));
        QTRY_COMPARE_WITH_TIMEOUT(m_workspace->activeWindow().id, other.id, busyMachineMs);
    }

    QVERIFY(m_workspace->activateWindow(wanted));
    QTRY_COMPARE_WITH_TIMEOUT(m_workspace->activeWindow().id, wanted.id, busyMachineMs);
    QCOMPARE(m_workspace->applicationId(wanted), applicationId);
    QCOMPARE(m_workspace->activeApplicationId(), applicationId);
}

void TestWorkspaceX11::windowThatIsGoneHasNoApplicationAndCannotBeActivated()
{
    const DesktopWindow gone{m_other->showWindow("gone", "GoneWindow", {})};
    QVERIFY(QTest::qWaitFor([&] { return m_other->shown(uint32_t(gone.id)); }, busyMachineMs));
    m_other->destroyWindow(uint32_t(gone.id));

    for (const DesktopWindow window : {gone, DesktopWindow()}) {
        QCOMPARE(m_workspace->applicationId(window), QString());
        QVERIFY(!m_workspace->activateWindow(window));
    }
}

QTEST_GUILESS_MAIN(TestWorkspaceX11)
#include "tst_workspacex11.moc"
