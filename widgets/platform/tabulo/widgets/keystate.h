#pragma once
// The state of the Shift, Ctrl and Alt keys now (asked of the window system),
// replaceable by a hook in tests.

#include <functional>

enum class TModifierKey { Shift, Ctrl, Alt };

bool IsKeyDown(TModifierKey key);

// An empty hook restores the real key state.
void SetKeyStateHook(std::function<bool(TModifierKey)> hook);
