// wlkeys: presses keys on a Wayland compositor through a virtual keyboard
// (virtual-keyboard-unstable-v1), as a user at the keyboard would, for the Wayland end-to-end
// tests (the counterpart of `xdotool key`).
//
//   wlkeys KEY...
//
// Each KEY is a keysym name, with "ctrl+" or "shift+" before it for those modifiers held
// ("Return", "shift+Return", "m"). The keyboard has the keymap of the environment's layout.
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace {
wl_seat* seat = nullptr;
zwp_virtual_keyboard_manager_v1* manager = nullptr;
uint32_t now = 0;

void global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

[[noreturn]] void fail(const std::string& message)
{
    std::fprintf(stderr, "wlkeys: %s\n", message.c_str());
    std::exit(2);
}

uint32_t codeOf(xkb_keymap* keymap, xkb_keysym_t wanted)
{
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap);
         code <= xkb_keymap_max_keycode(keymap); ++code) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms);
        for (int i = 0; i < count; ++i) {
            if (syms[i] == wanted)
                return code - 8;
        }
    }
    fail("no key for a keysym");
}

void key(zwp_virtual_keyboard_v1* keyboard, uint32_t code, uint32_t state)
{
    zwp_virtual_keyboard_v1_key(keyboard, ++now, code, state);
}
} // namespace

int main(int argc, char** argv)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        fail("no Wayland display");
    wl_registry* registry = wl_display_get_registry(display);
    const wl_registry_listener listener = {global, globalRemove};
    wl_registry_add_listener(registry, &listener, nullptr);
    wl_display_roundtrip(display);
    if (!seat || !manager)
        fail("the compositor offers no virtual keyboard");
    zwp_virtual_keyboard_v1* keyboard =
        zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(manager, seat);

    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    const size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("wlkeys-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != ssize_t(size))
        fail("cannot write the keymap");
    zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, uint32_t(size));
    wl_display_roundtrip(display);

    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        uint32_t mods = 0;
        for (const auto& [prefix, modifier, keysym] :
             {std::tuple{"ctrl+", XKB_MOD_NAME_CTRL, XKB_KEY_Control_L},
              std::tuple{"shift+", XKB_MOD_NAME_SHIFT, XKB_KEY_Shift_L}}) {
            if (name.rfind(prefix, 0) == 0) {
                name = name.substr(std::strlen(prefix));
                mods |= 1u << xkb_keymap_mod_get_index(keymap, modifier);
                key(keyboard, codeOf(keymap, keysym), WL_KEYBOARD_KEY_STATE_PRESSED);
            }
        }
        const xkb_keysym_t keysym = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
        if (keysym == XKB_KEY_NoSymbol)
            fail("unknown key " + name);
        zwp_virtual_keyboard_v1_modifiers(keyboard, mods, 0, 0, 0);
        key(keyboard, codeOf(keymap, keysym), WL_KEYBOARD_KEY_STATE_PRESSED);
        key(keyboard, codeOf(keymap, keysym), WL_KEYBOARD_KEY_STATE_RELEASED);
        if (mods & (1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT)))
            key(keyboard, codeOf(keymap, XKB_KEY_Shift_L), WL_KEYBOARD_KEY_STATE_RELEASED);
        if (mods & (1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CTRL)))
            key(keyboard, codeOf(keymap, XKB_KEY_Control_L), WL_KEYBOARD_KEY_STATE_RELEASED);
        zwp_virtual_keyboard_v1_modifiers(keyboard, 0, 0, 0, 0);
        wl_display_roundtrip(display);
    }
    std::free(text);
    zwp_virtual_keyboard_v1_destroy(keyboard);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
