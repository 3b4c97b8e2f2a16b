#pragma once
// The desktop session the viewer runs in, chosen before the application
// object exists.
//
// The viewer keeps itself on top of another program's window, opens where
// it was left and watches the keyboard of the whole desktop: an X server
// offers all of that, a Wayland compositor none of it. So in a Wayland
// session with an X server at hand (XWayland) the viewer runs on Qt's xcb
// platform; without one it runs as a native Wayland client and says once
// what the compositor will not do for it. A platform the user named
// (QT_QPA_PLATFORM) is always taken as it is. The companion programs need
// none of this and leave the choice to Qt.

#include <string>

// What the session offers, as the environment tells it.
struct TSessionEnv {
    std::string QtPlatform;   // QT_QPA_PLATFORM
    std::string WaylandName;  // WAYLAND_DISPLAY
    std::string SessionType;  // XDG_SESSION_TYPE
    std::string XDisplay;     // DISPLAY
};

// The platform the viewer asks Qt for; empty: Qt's own choice stands.
std::string ViewerPlatformFor(const TSessionEnv& env);

// Reads the environment and sets QT_QPA_PLATFORM by ViewerPlatformFor.
// Call before the application object is made.
void ChooseViewerPlatform();

// After the application object is made: on a native Wayland platform, one
// note on standard error about what the compositor does not keep (staying
// on top, window positions). Returns whether it wrote the note.
bool ReportSessionLimits();

// While it lives, a platform that cannot be opened (no display, no plugin)
// ends the program with a message and exit code 1 instead of Qt's abort.
class TPlatformStartGuard {
public:
    TPlatformStartGuard();
    ~TPlatformStartGuard();
    TPlatformStartGuard(const TPlatformStartGuard&) = delete;
    TPlatformStartGuard& operator=(const TPlatformStartGuard&) = delete;
};
