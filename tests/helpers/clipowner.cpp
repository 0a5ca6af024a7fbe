// clipowner: owns the X11 CLIPBOARD selection with chosen formats in a chosen order, the way
// another application would, so the end-to-end tests can fill the clipboard precisely.
//
//   clipowner [--class CLASS] [--app-id ID] [--map] [--hidden-owner] [--keep] [--stall]
//             [--log FILE]
//             [--incr-size BYTES] [--incr-delay MS] [--format TARGET=BYTES]...
//             [--format-file TARGET=PATH]...
//
// TARGETS answers the meta targets (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS) and then every
// format in the order given. Each request is logged as "requested TARGET" (to stdout, or to the
// --log file) before it is answered, so tests can see what a reader asked for. MULTIPLE and
// SAVE_TARGETS are logged and refused. Data larger than --incr-size (default 256 KiB) is sent
// incrementally (INCR), each piece after --incr-delay milliseconds (default none), as a slow
// application sends it. "ready WINDOW" is printed once the selection is owned (and the window
// mapped and given the input focus, with --map). With --hidden-owner the selection is owned
// through a second window that carries no names, as toolkits own it. With --stall it answers
// TARGETS and then never answers a request for data, as a hung application does. When it loses the
// selection it prints "lost" and exits, or with --keep stays (a window the tests can focus again)
// until it is killed.
//
// Each ";parameter" in a target carries its own "=", so "text/plain;charset=utf-8=abc" is the
// target "text/plain;charset=utf-8" with the bytes "abc".
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct Format
{
    std::string target;
    std::string bytes;
    xcb_atom_t atom = XCB_NONE;
};

struct Options
{
    std::string wmClass = "Clipowner";
    std::string appId;
    std::string logPath;
    bool map = false;
    bool hiddenOwner = false;
    bool keep = false;
    bool stall = false;
    size_t incrSize = 256 * 1024;
    useconds_t incrDelayUs = 0;
    std::vector<Format> formats;
};

// An incremental transfer in progress: the next chunk goes out when the requestor deletes the
// property.
struct Transfer
{
    xcb_window_t requestor;
    xcb_atom_t property;
    xcb_atom_t type;
    const std::string* bytes;
    size_t offset;
};

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "clipowner: %s\n", message.c_str());
    std::exit(2);
}

std::pair<std::string, std::string> splitTargetValue(const std::string& arg)
{
    for (size_t pos = arg.find('='); pos != std::string::npos; pos = arg.find('=', pos + 1)) {
        const std::string target = arg.substr(0, pos);
        if (std::count(target.begin(), target.end(), ';') ==
            std::count(target.begin(), target.end(), '='))
            return {target, arg.substr(pos + 1)};
    }
    fail("expected TARGET=VALUE, got " + arg);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                fail(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--class") {
            options.wmClass = value();
        } else if (arg == "--app-id") {
            options.appId = value();
        } else if (arg == "--log") {
            options.logPath = value();
        } else if (arg == "--map") {
            options.map = true;
        } else if (arg == "--hidden-owner") {
            options.hiddenOwner = true;
        } else if (arg == "--keep") {
            options.keep = true;
        } else if (arg == "--stall") {
            options.stall = true;
        } else if (arg == "--incr-size") {
            options.incrSize = std::stoul(value());
        } else if (arg == "--incr-delay") {
            options.incrDelayUs = static_cast<useconds_t>(std::stoul(value()) * 1000);
        } else if (arg == "--format" || arg == "--format-file") {
            auto [target, text] = splitTargetValue(value());
            options.formats.push_back({target, arg == "--format" ? text : readFile(text)});
        } else {
            fail("unknown option " + arg);
        }
    }
    return options;
}

class Owner
{
public:
    explicit Owner(Options options) : m_options(std::move(options))
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("cannot open the display");
        m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        if (!m_options.logPath.empty()) {
            m_log = std::fopen(m_options.logPath.c_str(), "w");
            if (!m_log)
                fail("cannot write " + m_options.logPath);
        }
        for (Format& format : m_options.formats)
            format.atom = atom(format.target);
    }

    ~Owner()
    {
        if (m_log && m_log != stdout)
            std::fclose(m_log);
        xcb_disconnect(m_connection);
    }

    int run()
    {
        createWindow();
        // As in an application, the window is the active one before it copies.
        if (m_options.map)
            mapAndFocus();
        m_time = serverTime();
        m_owner = m_window;
        if (m_options.hiddenOwner) {
            m_owner = xcb_generate_id(m_connection);
            xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_owner, m_screen->root, 0, 0, 1,
                              1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        }
        xcb_set_selection_owner(m_connection, m_owner, atom("CLIPBOARD"), m_time);
        if (selectionOwner() != m_owner)
            fail("could not take the CLIPBOARD selection");
        std::printf("ready %u\n", m_window);
        std::fflush(stdout);
        return loop();
    }

private:
    xcb_atom_t atom(const std::string& name)
    {
        auto cookie =
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.data());
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply)
            fail("cannot intern " + name);
        return reply->atom;
    }

    std::string atomName(xcb_atom_t a)
    {
        std::unique_ptr<xcb_get_atom_name_reply_t, decltype(&std::free)> reply(
            xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, a), nullptr),
            &std::free);
        if (!reply)
            return "?";
        return {xcb_get_atom_name_name(reply.get()),
                static_cast<size_t>(xcb_get_atom_name_name_length(reply.get()))};
    }

    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint8_t format,
                     const void* data, size_t units)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, property, type, format,
                            static_cast<uint32_t>(units), data);
    }

    void createWindow()
    {
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, m_screen->root, 0, 0, 240,
                          120, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual,
                          XCB_CW_EVENT_MASK, &events);
        std::string instance = m_options.wmClass;
        std::transform(instance.begin(), instance.end(), instance.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::string wmClass = instance + '\0' + m_options.wmClass + '\0';
        setProperty(m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.data(),
                    wmClass.size());
        const std::string name = "clipowner " + m_options.wmClass;
        setProperty(m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, name.data(), name.size());
        if (!m_options.appId.empty())
            setProperty(m_window, atom("_GTK_APPLICATION_ID"), atom("UTF8_STRING"), 8,
                        m_options.appId.data(), m_options.appId.size());
    }

    using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

    Event nextEvent()
    {
        Event event(xcb_wait_for_event(m_connection), &std::free);
        if (!event)
            fail("the display connection broke");
        return event;
    }

    // Waits for an event of one type, answering selection requests meanwhile.
    Event waitFor(uint8_t type)
    {
        for (;;) {
            Event event = nextEvent();
            const uint8_t eventType = event->response_type & 0x7f;
            if (eventType == type)
                return event;
            if (eventType == XCB_SELECTION_REQUEST)
                serve(*reinterpret_cast<xcb_selection_request_event_t*>(event.get()));
        }
    }

    // A server timestamp, taken from the PropertyNotify of an empty append to our own window.
    xcb_timestamp_t serverTime()
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, m_window, XCB_ATOM_WM_NAME,
                            XCB_ATOM_STRING, 8, 0, "");
        xcb_flush(m_connection);
        const Event event = waitFor(XCB_PROPERTY_NOTIFY);
        return reinterpret_cast<xcb_property_notify_event_t*>(event.get())->time;
    }

    xcb_window_t selectionOwner()
    {
        std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
            xcb_get_selection_owner_reply(
                m_connection, xcb_get_selection_owner(m_connection, atom("CLIPBOARD")), nullptr),
            &std::free);
        return reply ? reply->owner : XCB_NONE;
    }

    void mapAndFocus()
    {
        xcb_map_window(m_connection, m_window);
        xcb_flush(m_connection);
        waitFor(XCB_MAP_NOTIFY);
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, m_window, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        // A window manager names the active window a moment after the focus moved; without one
        // the wait runs out and the focus alone tells.
        for (int tries = 0; tries < 200 && activeWindow() != m_window; ++tries)
            usleep(10'000);
    }

    xcb_window_t activeWindow()
    {
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 0, m_screen->root,
                                                    atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0,
                                                    1),
                                   nullptr),
            &std::free);
        if (!reply || xcb_get_property_value_length(reply.get()) < 4)
            return XCB_NONE;
        return *static_cast<xcb_window_t*>(xcb_get_property_value(reply.get()));
    }

    int loop()
    {
        for (;;) {
            const Event event = nextEvent();
            switch (event->response_type & 0x7f) {
            case XCB_SELECTION_REQUEST:
                serve(*reinterpret_cast<xcb_selection_request_event_t*>(event.get()));
                break;
            case XCB_SELECTION_CLEAR:
                std::printf("lost\n");
                std::fflush(stdout);
                if (!m_options.keep)
                    return 0;
                break;
            case XCB_PROPERTY_NOTIFY:
                continueTransfer(*reinterpret_cast<xcb_property_notify_event_t*>(event.get()));
                break;
            default:
                break;
            }
        }
    }

    void log(const std::string& line)
    {
        std::fprintf(m_log, "%s\n", line.c_str());
        std::fflush(m_log);
    }

    const Format* format(xcb_atom_t target) const
    {
        for (const Format& format : m_options.formats) {
            if (format.atom == target)
                return &format;
        }
        return nullptr;
    }

    void serve(const xcb_selection_request_event_t& request)
    {
        log("requested " + atomName(request.target));
        if (m_options.stall && request.target != atom("TARGETS"))
            return;
        const xcb_atom_t property = request.property ? request.property : request.target;
        bool answered = true;
        if (request.target == atom("TARGETS")) {
            std::vector<xcb_atom_t> targets{atom("TARGETS"), atom("MULTIPLE"), atom("TIMESTAMP"),
                                            atom("SAVE_TARGETS")};
            for (const Format& format : m_options.formats)
                targets.push_back(format.atom);
            setProperty(request.requestor, property, XCB_ATOM_ATOM, 32, targets.data(),
                        targets.size());
        } else if (request.target == atom("TIMESTAMP")) {
            setProperty(request.requestor, property, XCB_ATOM_INTEGER, 32, &m_time, 1);
        } else if (const Format* found = format(request.target)) {
            sendData(request.requestor, property, *found);
        } else {
            answered = false;
        }
        notify(request, answered ? property : XCB_NONE);
    }

    void sendData(xcb_window_t requestor, xcb_atom_t property, const Format& format)
    {
        if (format.bytes.size() <= m_options.incrSize) {
            setProperty(requestor, property, format.atom, 8, format.bytes.data(),
                        format.bytes.size());
            return;
        }
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, requestor, XCB_CW_EVENT_MASK, &events);
        const auto size = static_cast<uint32_t>(format.bytes.size());
        setProperty(requestor, property, atom("INCR"), 32, &size, 1);
        m_transfers.push_back({requestor, property, format.atom, &format.bytes, 0});
    }

    void continueTransfer(const xcb_property_notify_event_t& event)
    {
        if (event.state != XCB_PROPERTY_DELETE)
            return;
        auto it = std::find_if(m_transfers.begin(), m_transfers.end(), [&](const Transfer& t) {
            return t.requestor == event.window && t.property == event.atom;
        });
        if (it == m_transfers.end())
            return;
        const size_t chunk = std::min(m_options.incrSize, it->bytes->size() - it->offset);
        usleep(m_options.incrDelayUs);
        setProperty(it->requestor, it->property, it->type, 8, it->bytes->data() + it->offset,
                    chunk);
        it->offset += chunk;
        if (chunk == 0)
            m_transfers.erase(it);
        xcb_flush(m_connection);
    }

    void notify(const xcb_selection_request_event_t& request, xcb_atom_t property)
    {
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = property;
        xcb_send_event(m_connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(m_connection);
    }

    Options m_options;
    xcb_connection_t* m_connection = nullptr;
    xcb_screen_t* m_screen = nullptr;
    xcb_window_t m_window = XCB_NONE;
    // The window that owns the selection: m_window, or a hidden one.
    xcb_window_t m_owner = XCB_NONE;
    xcb_timestamp_t m_time = XCB_CURRENT_TIME;
    FILE* m_log = stdout;
    std::vector<Transfer> m_transfers;
};

} // namespace

int main(int argc, char** argv)
{
    return Owner(parseOptions(argc, argv)).run();
}
