#pragma once

// Returns 0 once the program owning the X window (a decimal or 0x id) and
// the window manager have handled every event sent before the call; 1 when
// one of them did not answer within 10 s, 2 on bad arguments.
int Settle(const char* window);
