// The application object: the applet, the form list and the message loop.

#include "tabulo/widgets/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "control_impl.h"
#include "tabulo/widgets/placementstore.h"
#include "tabulo/widgets/screen.h"
#include "x11window.h"

namespace {
TControl* applet = nullptr;
bool terminated = false;
bool running = false;
std::vector<TControl*> forms;
TMessageHook appletHook;
TMessageHook globalHook;
std::function<void()> idleHook;
QMetaObject::Connection screenAdded, screenRemoved;

void keepLastWindowFromQuitting() {
    // The loop ends by Terminate only, never because a window closed.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        app->setQuitOnLastWindowClosed(false);
}

void watchMonitors() {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || screenRemoved) return;
    // Once the toolkit has done with the screen (it moves the windows of a
    // removed one to the primary screen as it sees fit).
    auto later = [app] { QTimer::singleShot(0, app, &KeepFormsOnMonitors); };
    screenAdded = QObject::connect(app, &QGuiApplication::screenAdded, app, later);
    screenRemoved = QObject::connect(app, &QGuiApplication::screenRemoved, app, later);
}
}  // namespace

void StartApplication() {
    terminated = false;
    keepLastWindowFromQuitting();
    watchMonitors();
}

void StopApplication() {
    QObject::disconnect(screenAdded);
    QObject::disconnect(screenRemoved);
    applet = nullptr;
    appletHook = nullptr;
    globalHook = nullptr;
    idleHook = nullptr;
}

TControl* Applet() {
    return applet;
}
void SetApplet(TControl* form) {
    applet = form;
    if (form) keepLastWindowFromQuitting();
}

void Run(TControl* mainForm) {
    if (!applet) SetApplet(mainForm);
    keepLastWindowFromQuitting();
    if (mainForm) mainForm->CreateWindow();
    running = true;
    while (!terminated) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (terminated) break;
        if (idleHook) {
            auto copy = idleHook;
            copy();
        }
    }
    running = false;
}

void ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Terminate() {
    terminated = true;
    if (auto* d = QAbstractEventDispatcher::instance()) d->wakeUp();
}
bool AppletTerminated() {
    return terminated;
}
bool AppletRunning() {
    return running;
}

void ResetApplicationForTesting() {
    terminated = false;
    applet = nullptr;
    appletHook = nullptr;
    globalHook = nullptr;
    idleHook = nullptr;
}

uint8_t ApplicationState() {
    return applet && applet->WindowState() == wsMinimized ? wsMinimized : wsNormal;
}

void SetApplicationState(uint8_t state) {
    if (applet) applet->SetWindowState(state == wsMinimized ? wsMinimized : wsNormal, false);
}

const std::vector<TControl*>& FormList() {
    return forms;
}

void KeepFormsOnMonitors() {
    const std::vector<TRect> monitors = MonitorAreas();
    const std::vector<TControl*> all = forms;
    for (TControl* f : all) {
        QWidget* w = f->Widget();
        if (!w || !w->isWindow()) continue;
        const TRect now = f->BoundsRect();
        const TRect kept = KeepOnMonitors(now, monitors);
        if (!(kept == now)) f->SetBoundsRect(kept);
    }
}

TControl* ActiveForm() {
    QWidget* w = QApplication::activeWindow();
    // On X11 the server is asked: Qt keeps the window it last activated
    // active for a while after the focus went to another program's window
    // (it waits for a focus-in of its own), and a form hidden or restored
    // in that while must not pass the activation on inside the program.
    if (const std::optional<uint32_t> focus = widgets_detail::X11FocusWindow()) {
        QWidget* focused = *focus ? QWidget::find(WId(*focus)) : nullptr;
        w = focused ? focused->window() : nullptr;
    }
    TControl* c = w ? TControl::FromWidget(w) : nullptr;
    return c && c->IsForm() ? c : nullptr;
}

TMessageHook SetAppletMessageHook(TMessageHook hook) {
    TMessageHook previous = std::move(appletHook);
    appletHook = std::move(hook);
    return previous;
}
TMessageHook SetGlobalMessageHook(TMessageHook hook) {
    TMessageHook previous = std::move(globalHook);
    globalHook = std::move(hook);
    return previous;
}
void SetIdleHook(std::function<void()> hook) {
    idleHook = std::move(hook);
}

namespace widgets_detail {
void RegisterForm(TControl* form) {
    forms.push_back(form);
    keepLastWindowFromQuitting();
}
void UnregisterForm(TControl* form) {
    forms.erase(std::remove(forms.begin(), forms.end(), form), forms.end());
}

bool ApplicationHooks(TControl& c, TMsg& msg) {
    if (globalHook) {
        auto copy = globalHook;
        if (copy(c, msg)) return true;
    }
    if (appletHook) {
        auto copy = appletHook;
        if (copy(c, msg)) return true;
    }
    return false;
}

void MainFormClosed(TControl* form) {
    // Closing the main form closes the program: the other forms go too.
    std::vector<TControl*> others = forms;
    for (TControl* f : others) {
        if (f != form && f->Widget()) f->Widget()->hide();
    }
    Terminate();
}

void MainFormStateChanged(TControl*, uint8_t) {
    // The main form is the application's window: its state is the
    // application's (ApplicationState reads it).
}

int CursorShape(int cursor) {
    switch (cursor) {
        case crIBeam:
            return Qt::IBeamCursor;
        case crWait:
            return Qt::WaitCursor;
        case crCross:
            return Qt::CrossCursor;
        case crUpArrow:
            return Qt::UpArrowCursor;
        case crSizeNWSE:
            return Qt::SizeFDiagCursor;
        case crSizeNESW:
            return Qt::SizeBDiagCursor;
        case crSizeWE:
            return Qt::SizeHorCursor;
        case crSizeNS:
            return Qt::SizeVerCursor;
        case crSizeAll:
            return Qt::SizeAllCursor;
        case crNo:
            return Qt::ForbiddenCursor;
        case crHandPoint:
            return Qt::PointingHandCursor;
        case crAppStarting:
            return Qt::BusyCursor;
        case crHelp:
            return Qt::WhatsThisCursor;
        default:
            return Qt::ArrowCursor;
    }
}
}  // namespace widgets_detail
