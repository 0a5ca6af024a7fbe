#include "platform/wayland/PasteKeystrokeWayland.h"

#include "support/Logging.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace {
// xkb numbers keys from 8 on, the Linux input codes from 0.
constexpr uint32_t xkbKeycodeOffset = 8;
constexpr uint32_t pressed = WL_KEYBOARD_KEY_STATE_PRESSED;
constexpr uint32_t released = WL_KEYBOARD_KEY_STATE_RELEASED;

const wl_registry_listener registryListener = {
    &PasteKeystrokeWayland::global,
    [](void*, wl_registry*, uint32_t) {},
};

// The Linux input code of the first key that gives the keysym on its first level.
uint32_t codeOf(xkb_keymap* keymap, xkb_keysym_t wanted)
{
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
         code <= xkb_keymap_max_keycode(keymap); ++code) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
        for (int i = 0; i < count; ++i) {
            if (syms[i] == wanted)
                return code - xkbKeycodeOffset;
        }
    }
    return 0;
}

uint32_t maskOf(xkb_keymap* keymap, const char* name)
{
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID ? 0 : 1u << index;
}
} // namespace

PasteKeystrokeWayland::PasteKeystrokeWayland() : m_display(wl_display_connect(nullptr))
{
    if (!m_display)
        return;
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &registryListener, this);
    wl_display_roundtrip(m_display);
    if (!m_seat || !m_manager)
        return;
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(m_manager, m_seat);
    if (!uploadKeymap()) {
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
        m_keyboard = nullptr;
        return;
    }
    // A compositor that refuses this client a keyboard says so as an error on the connection.
    wl_display_roundtrip(m_display);
}

PasteKeystrokeWayland::~PasteKeystrokeWayland()
{
    if (m_keyboard)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    if (m_manager)
        zwp_virtual_keyboard_manager_v1_destroy(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    if (m_display)
        wl_display_disconnect(m_display);
}

void PasteKeystrokeWayland::global(void* data, wl_registry* registry, uint32_t name,
                                   const char* interface, uint32_t)
{
    auto* self = static_cast<PasteKeystrokeWayland*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->m_seat)
        self->m_seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        self->m_manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}

bool PasteKeystrokeWayland::available() const
{
    return m_keyboard && wl_display_get_error(m_display) == 0;
}

QString PasteKeystrokeWayland::unavailableReason() const
{
    return QCoreApplication::translate("PasteKeystrokeNull",
                                       "This desktop lets no application type into another, so "
                                       "Vantrel only copies the item: paste it with Ctrl+V.");
}

// The keymap goes to the compositor as a file it maps: a sealed memory file.
bool PasteKeystrokeWayland::uploadKeymap()
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap =
        context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    bool uploaded = false;
    if (text) {
        m_control = codeOf(keymap, XKB_KEY_Control_L);
        m_shift = codeOf(keymap, XKB_KEY_Shift_L);
        m_v = codeOf(keymap, XKB_KEY_v);
        m_controlMask = maskOf(keymap, XKB_MOD_NAME_CTRL);
        m_shiftMask = maskOf(keymap, XKB_MOD_NAME_SHIFT);
        const size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("vantrel-keymap", MFD_CLOEXEC);
        if (fd >= 0 && ::write(fd, text, size) == ssize_t(size) && m_v != 0 && m_control != 0) {
            zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           uint32_t(size));
            uploaded = true;
        }
        if (fd >= 0)
            ::close(fd);
    }
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    if (!uploaded)
        qCWarning(lcPlatform, "no keymap for the virtual keyboard: Vantrel cannot paste here");
    return uploaded;
}

// A virtual keyboard's keys do not move the compositor's modifier state: it is sent along.
bool PasteKeystrokeWayland::send(Keys keys)
{
    if (!available())
        return false;
    const bool withShift = keys == Keys::CtrlShiftV && m_shift != 0;
    const uint32_t held = m_controlMask | (withShift ? m_shiftMask : 0);
    key(m_control, true);
    if (withShift)
        key(m_shift, true);
    modifiers(held);
    key(m_v, true);
    key(m_v, false);
    if (withShift)
        key(m_shift, false);
    key(m_control, false);
    modifiers(0);
    return wl_display_flush(m_display) >= 0 && wl_display_get_error(m_display) == 0;
}

void PasteKeystrokeWayland::key(uint32_t code, bool down)
{
    // Times only need to grow, on this keyboard's own clock.
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    m_time = std::max(m_time + 1, uint32_t(clock.elapsed()));
    zwp_virtual_keyboard_v1_key(m_keyboard, m_time, code, down ? pressed : released);
}

void PasteKeystrokeWayland::modifiers(uint32_t depressed)
{
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, depressed, 0, 0, 0);
}
