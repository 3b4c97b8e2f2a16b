#include "tabulo/widgets/keystate.h"

#include <QGuiApplication>

namespace {

std::function<bool(TModifierKey)>& Hook() {
    static std::function<bool(TModifierKey)> hook;
    return hook;
}

}  // namespace

bool IsKeyDown(TModifierKey key) {
    if (Hook()) return Hook()(key);
    // The keyboard as it is now, asked of the window system (on X11 the
    // server's pointer query): the modifiers of the last event delivered to
    // us are stale when the keys were pressed over another program's window,
    // as when Ctrl is held while the pointer crosses the restore handle.
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    switch (key) {
        case TModifierKey::Shift:
            return mods.testFlag(Qt::ShiftModifier);
        case TModifierKey::Ctrl:
            return mods.testFlag(Qt::ControlModifier);
        case TModifierKey::Alt:
            return mods.testFlag(Qt::AltModifier);
    }
    return false;
}

void SetKeyStateHook(std::function<bool(TModifierKey)> hook) {
    Hook() = std::move(hook);
}
