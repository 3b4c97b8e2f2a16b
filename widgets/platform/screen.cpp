#include "tabulo/widgets/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

std::function<TScreenSize()>& Hook() {
    static std::function<TScreenSize()> hook;
    return hook;
}

}  // namespace

TScreenSize ScreenSize() {
    if (Hook()) return Hook()();
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen) return {};
    const QSize size = screen->geometry().size();
    return {size.width(), size.height()};
}

void SetScreenSizeHook(std::function<TScreenSize()> hook) {
    Hook() = std::move(hook);
}

TRect AvailableScreenArea() {
    if (Hook()) {
        const TScreenSize s = Hook()();
        return TRect{0, 0, s.Width, s.Height};
    }
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen) return {};
    const QRect r = screen->availableVirtualGeometry();
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
