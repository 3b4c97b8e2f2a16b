// Direct X11 requests of the layer (see x11window.h).

#include "x11window.h"

#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <cstring>

namespace {

xcb_connection_t* connection() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
    if (!r) return XCB_ATOM_NONE;
    const xcb_atom_t a = r->atom;
    std::free(r);
    return a;
}

}  // namespace

namespace widgets_detail {

void X11SetMotifHints(QWidget* window, uint32_t functions, uint32_t decorations) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t hints = atom(c, "_MOTIF_WM_HINTS");
    if (!id || hints == XCB_ATOM_NONE) return;
    // flags (functions and decorations given), functions, decorations,
    // input mode, status.
    const uint32_t value[5] = {0x1 | 0x2, functions, decorations, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, hints, hints, 32, 5, value);
    xcb_flush(c);
}

void X11SetUtilityType(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    const auto id = xcb_window_t(window->winId());
    const xcb_atom_t type = atom(c, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t utility = atom(c, "_NET_WM_WINDOW_TYPE_UTILITY");
    if (!id || type == XCB_ATOM_NONE || utility == XCB_ATOM_NONE) return;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, type, XCB_ATOM_ATOM, 32, 1, &utility);
    xcb_flush(c);
}

std::optional<uint32_t> X11FocusWindow() {
    xcb_connection_t* c = connection();
    if (!c) return std::nullopt;
    xcb_get_input_focus_reply_t* r = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    if (!r) return std::nullopt;
    const uint32_t focus = r->focus;
    std::free(r);
    // PointerRoot (1) and None (0) name no window.
    return focus > 1 ? focus : 0;
}

void X11SetFocus(uint32_t window) {
    xcb_connection_t* c = connection();
    if (!c || !window) return;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(c);
}

}  // namespace widgets_detail
