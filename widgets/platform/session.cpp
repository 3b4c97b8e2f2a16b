#include "tabulo/widgets/session.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

QtMessageHandler previousHandler = nullptr;

void startupHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        if (previousHandler)
            previousHandler(type, context, text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    std::fprintf(stderr, "tabulo: no window can be opened: %s\n", qPrintable(text));
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

std::string ViewerPlatformFor(const TSessionEnv& e) {
    if (!e.QtPlatform.empty()) return {};
    const bool wayland = !e.WaylandName.empty() || e.SessionType == "wayland";
    if (!wayland) return {};
    // XWayland keeps every X11 promise (and when its server cannot be
    // reached after all, the native platform is the next try); without an X
    // server Qt's xcb platform would fail to start.
    return e.XDisplay.empty() ? "wayland" : "xcb;wayland";
}

bool ReportSessionLimits() {
    static bool reported = false;
    if (reported || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
        !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    reported = true;
    std::fprintf(stderr,
                 "tabulo: running as a native Wayland client. The compositor decides where "
                 "windows open and which stay on top: the window may not keep its place or stay "
                 "above other windows. Start the program with an X server (XWayland, DISPLAY set) "
                 "to keep both.\n");
    return true;
}

TViewerPlatformStart::TViewerPlatformStart() {
    const TSessionEnv e{env("QT_QPA_PLATFORM"), env("WAYLAND_DISPLAY"), env("XDG_SESSION_TYPE"),
                        env("DISPLAY")};
    const std::string platform = ViewerPlatformFor(e);
    chosen_ = !platform.empty();
    if (chosen_) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
    previousHandler = qInstallMessageHandler(startupHandler);
}

TViewerPlatformStart::~TViewerPlatformStart() {
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
    if (chosen_) qunsetenv("QT_QPA_PLATFORM");
}
