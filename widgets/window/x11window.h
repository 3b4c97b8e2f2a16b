#pragma once
// What the layer tells an X11 window manager directly, where Qt has no word
// for it. Every call does nothing on another platform (offscreen, Wayland).

#include <cstdint>
#include <optional>

class QWidget;

namespace widgets_detail {

// Motif window-manager hints (_MOTIF_WM_HINTS), read by openbox, xfwm4,
// KWin, Mutter and most others.
enum : uint32_t {
    MwmFuncResize = 0x2,
    MwmFuncMove = 0x4,
    MwmDecorBorder = 0x2,
};
// Sets the window's functions and decorations, replacing what Qt set; the
// window is created when it does not exist yet.
void X11SetMotifHints(QWidget* window, uint32_t functions, uint32_t decorations);

// Marks the window as a utility window (_NET_WM_WINDOW_TYPE_UTILITY).
void X11SetUtilityType(QWidget* window);

// The X window that has the keyboard focus now, as the server sees it (0:
// none); nothing when not on X11.
std::optional<uint32_t> X11FocusWindow();
// Hands the keyboard focus to an X window (one of another program too).
void X11SetFocus(uint32_t window);

}  // namespace widgets_detail
