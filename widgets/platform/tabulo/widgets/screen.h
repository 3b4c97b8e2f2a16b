#pragma once
// The size of the primary screen in pixels, replaceable by a hook in tests.

#include <functional>

#include "tabulo/widgets/obj.h"

struct TScreenSize {
    int Width = 0;
    int Height = 0;
};

TScreenSize ScreenSize();

// The part of the desktop windows may use: the screens' available area
// (without panels), or (0, 0, hooked size) while the hook is set.
TRect AvailableScreenArea();

// An empty hook restores the real screen.
void SetScreenSizeHook(std::function<TScreenSize()> hook);
