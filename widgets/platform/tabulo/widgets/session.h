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

// Lives while the viewer's application object is made: asks Qt for the
// platform of ViewerPlatformFor (through QT_QPA_PLATFORM, removed again
// afterwards, so that programs the viewer starts make their own choice),
// and turns a platform that cannot be opened (no display, no plugin) into a
// message and exit code 1 instead of Qt's abort.
class TViewerPlatformStart {
public:
    TViewerPlatformStart();
    ~TViewerPlatformStart();
    TViewerPlatformStart(const TViewerPlatformStart&) = delete;
    TViewerPlatformStart& operator=(const TViewerPlatformStart&) = delete;

private:
    bool chosen_ = false;
};

// After the application object is made: on a native Wayland platform, one
// note on standard error about what the compositor does not keep (staying
// on top, window positions). Returns whether it wrote the note.
bool ReportSessionLimits();
