#pragma once
// The screen and the monitors of the desktop, replaceable by hooks in tests.

#include <functional>
#include <vector>

#include "tabulo/widgets/obj.h"

struct TScreenSize {
    int Width = 0;
    int Height = 0;
};

// The size of the primary screen in logical pixels.
TScreenSize ScreenSize();

// The part of each monitor that windows may use (without panels), in
// logical pixels of the desktop, the primary monitor first. Empty without
// a display. While a hook is set: the hooked monitors, or one monitor
// (0, 0, hooked screen size).
std::vector<TRect> MonitorAreas();

// An empty hook restores the real screen.
void SetScreenSizeHook(std::function<TScreenSize()> hook);
// Replaces the monitors (and wins over the screen-size hook for them); an
// empty hook restores the real ones.
void SetMonitorAreasHook(std::function<std::vector<TRect>()> hook);
