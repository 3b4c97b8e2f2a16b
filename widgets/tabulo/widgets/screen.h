#pragma once
// The size of the primary screen in pixels, replaceable by a hook in tests.

#include <functional>

struct TScreenSize {
    int Width = 0;
    int Height = 0;
};

TScreenSize ScreenSize();

// An empty hook restores the real screen.
void SetScreenSizeHook(std::function<TScreenSize()> hook);
