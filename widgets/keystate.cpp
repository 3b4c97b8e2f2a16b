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
    // The state as of the last input event, like the message-time key state.
    const Qt::KeyboardModifiers mods = QGuiApplication::keyboardModifiers();
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
