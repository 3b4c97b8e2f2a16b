#include "tabulo/widgets/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

std::function<TScreenSize()>& Hook() {
    static std::function<TScreenSize()> hook;
    return hook;
}

std::function<std::vector<TRect>()>& MonitorsHook() {
    static std::function<std::vector<TRect>()> hook;
    return hook;
}

bool HaveGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

TRect ToRect(const QRect& r) {
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

TScreenSize ScreenSize() {
    if (Hook()) return Hook()();
    const QScreen* screen = HaveGui() ? QGuiApplication::primaryScreen() : nullptr;
    if (!screen) return {};
    const QSize size = screen->geometry().size();
    return {size.width(), size.height()};
}

void SetScreenSizeHook(std::function<TScreenSize()> hook) {
    Hook() = std::move(hook);
}

void SetMonitorAreasHook(std::function<std::vector<TRect>()> hook) {
    MonitorsHook() = std::move(hook);
}

std::vector<TRect> MonitorAreas() {
    if (MonitorsHook()) return MonitorsHook()();
    if (Hook()) {
        const TScreenSize s = Hook()();
        return {TRect{0, 0, s.Width, s.Height}};
    }
    std::vector<TRect> areas;
    if (!HaveGui()) return areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) areas.push_back(ToRect(primary->availableGeometry()));
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary) areas.push_back(ToRect(s->availableGeometry()));
    return areas;
}
