#pragma once

#include "platform/PasteKeystroke.h"

#include <cstdint>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwp_virtual_keyboard_v1;

// Types the paste keystroke on a wlroots compositor (sway, Hyprland, river, ...) through a
// virtual keyboard (virtual-keyboard-unstable-v1) on a Wayland connection of its own: the keys go
// to the surface that has the keyboard focus, which is the application the compositor gives the
// focus back to once Vantrel's window has closed. The keyboard carries the keymap xkbcommon makes
// from the environment's layout (XKB_DEFAULT_LAYOUT, ...), so its keys are those of the letters.
// Compositors without the protocol (GNOME, KDE) leave it unavailable.
class PasteKeystrokeWayland : public PasteKeystroke
{
public:
    // Connects to the compositor named by WAYLAND_DISPLAY.
    PasteKeystrokeWayland();
    ~PasteKeystrokeWayland() override;

    bool available() const override;
    QString unavailableReason() const override;
    bool needsTargetWindow() const override { return false; }
    bool send(Keys keys) override;

    // Registry listener, called while connecting.
    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version);

private:
    bool uploadKeymap();
    void key(uint32_t code, bool pressed);
    void modifiers(uint32_t depressed);

    wl_display* m_display = nullptr;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1* m_manager = nullptr;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    // Linux input codes of the keys, and the modifier masks, in the keymap uploaded.
    uint32_t m_control = 0;
    uint32_t m_shift = 0;
    uint32_t m_v = 0;
    uint32_t m_controlMask = 0;
    uint32_t m_shiftMask = 0;
    uint32_t m_time = 0;
};
