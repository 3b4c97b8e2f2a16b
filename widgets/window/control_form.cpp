// The form: a top-level window, its frame, and the top-level window
// operations of TControl.

#include "control_form.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "tabulo/widgets/application.h"
#include "tabulo/widgets/icon.h"
#include "x11window.h"

using widgets_detail::ToQString;

namespace {
// Shows again a window that changing its flags has hidden, without taking
// the focus.
void reshow(QWidget* w) {
    bool was = w->testAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->show();
    w->setAttribute(Qt::WA_ShowWithoutActivating, was);
}
}  // namespace

TFormControl::TFormControl(TControl* parent, const TText& caption)
    : TControl(TControlKind::Form, parent) {
    // An owned form stays a window of its own (Qt::Window).
    auto* w = new TBridge<TPlainWidget>(this, parent ? parent->Widget() : nullptr, Qt::Window);
    // No system menu (close button) until the owner asks for one.
    style_ = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    w->setWindowTitle(ToQString(caption.view()));
    w->setAttribute(Qt::WA_QuitOnClose, false);
    adopt(w, w);
}

QString TFormControl::shownText() const {
    return Widget()->windowTitle();
}

bool TFormControl::showText(std::string_view utf8) {
    if (QAnyStringView::equal(shownText(), QUtf8StringView(utf8))) return false;
    Widget()->setWindowTitle(ToQString(utf8));
    return true;
}

namespace {
constexpr int kIconSizeWithWindow = 64;
}  // namespace

void TFormControl::applyIcon() {
    QWidget* w = Widget();
    QIcon qi = Icon() ? Icon()->Icon() : QIcon();
    d_->largeIcon = QIcon();
    if (!w->testAttribute(Qt::WA_WState_Created)) {
        // A window gets its icon converted for X as it is created, every
        // size of it: the large ones cost more than building the rest of
        // the main window. The window manager gets the sizes it draws
        // with the window, and the large ones right after its first paint.
        QIcon small;
        for (const QSize size : qi.availableSizes())
            if (size.width() <= kIconSizeWithWindow && size.height() <= kIconSizeWithWindow)
                small.addPixmap(qi.pixmap(size));
        if (!small.isNull() && small.availableSizes().size() < qi.availableSizes().size()) {
            d_->largeIcon = qi;
            qi = small;
        }
    }
    w->setWindowIcon(qi);
}

namespace {

// The frame of a top-level window, by frame style: the style and extended
// style bits it sets, and what they mean on X11, where the window manager
// draws every frame. Qt hands the window type (_NET_WM_WINDOW_TYPE) and the
// Motif hints (_MOTIF_WM_HINTS: decorations and allowed functions) to it;
// openbox, xfwm4, KWin and Mutter read both.
//
//   style  bits (style; extended)         on X11
//   0      -                              no decorations
//   1      caption, minimise box          title bar, minimise button, fixed size
//   2      caption, sizing, min, max      title bar, resize border, minimise and maximise
//   3      caption; window edge           title bar, fixed size
//   4      caption; tool window           utility window (no taskbar entry), title bar
//   5      caption, sizing; tool window   utility window, title bar, resize border
//   6      -; modal frame                 no decorations
//   7      sizing; tool window            utility window, resizable border, no title bar,
//                                         nobody's transient (Motif hints and window type
//                                         of our own: Qt has no flags for a border without
//                                         a title, and makes every tool window a transient)
//   8      -; client edge, modal frame    no decorations
//   9      sizing; client edge            resizable border, no title bar
//
// The close button, and the window manager's close action with it, come only
// with the system-menu bit. The layer's forms start without it; the visual
// components give it to a form with a single-line border (BorderStyle 1).
// BorderStyle 0 and 2 leave the frame as the frame style made it; the edges
// they name are drawn inside the window, never by the window manager.
struct TFrameBits {
    uint32_t Style;
    uint32_t ExStyle;
};
constexpr uint32_t kFrameStyleMask = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr uint32_t kFrameExMask = WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;
constexpr TFrameBits kFrames[10] = {
    {0, 0},
    {WS_CAPTION | WS_MINIMIZEBOX, 0},
    {WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0},
    {WS_CAPTION, WS_EX_WINDOWEDGE},
    {WS_CAPTION, WS_EX_TOOLWINDOW},
    {WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW},
    {0, WS_EX_DLGMODALFRAME},
    {WS_THICKFRAME, WS_EX_TOOLWINDOW},
    {0, WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME},
    {WS_THICKFRAME, WS_EX_CLIENTEDGE},
};

// Qt's flags for the bits; a sizing border without a caption is left to the
// Motif hints (BorderWithoutTitle).
struct TFrameFlags {
    Qt::WindowFlags Flags;
    bool BorderWithoutTitle = false;
};
TFrameFlags frameFlags(uint32_t style, uint32_t ex) {
    TFrameFlags r;
    r.Flags = (ex & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    const bool caption = (style & WS_CAPTION) == WS_CAPTION;
    const bool sizing = style & WS_THICKFRAME;
    if (caption) {
        r.Flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (style & WS_SYSMENU) r.Flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX) r.Flags |= Qt::WindowMinimizeButtonHint;
        if ((style & WS_MAXIMIZEBOX) && sizing) r.Flags |= Qt::WindowMaximizeButtonHint;
    } else if (sizing) {
        // Not Qt::Tool: the toolkit makes every tool window a transient
        // (of the program's leader window when it has no owner), and window
        // managers minimise transients together with the program's windows.
        r.Flags = Qt::Window | Qt::CustomizeWindowHint;
        r.BorderWithoutTitle = true;
    } else {
        r.Flags |= Qt::FramelessWindowHint;
    }
    if (ex & WS_EX_TOPMOST) r.Flags |= Qt::WindowStaysOnTopHint;
    return r;
}

}  // namespace

void TFormControl::applyStyle() {
    if (Widget()) applyFormFlags();
}

void TFormControl::applyFormFlags() {
    QWidget* w = Widget();
    if (!w) return;
    // Changing the flags hides and shows the window again; what runs on that
    // show may ask for other flags. Such a request is applied after the
    // current one, so the window always ends with the last wish.
    if (d_->applyingFlags) {
        d_->flagsPending = true;
        return;
    }
    auto wanted = [this] { return frameFlags(style_, exStyle_).Flags; };
    QPointer<QWidget> guard(w);
    d_->applyingFlags = true;
    bool changed = false;
    for (int round = 0; round < 8; ++round) {
        d_->flagsPending = false;
        const Qt::WindowFlags f = wanted();
        if (f != w->windowFlags() && (f ^ w->windowFlags()) == Qt::WindowStaysOnTopHint &&
            w->isVisible() && w->windowHandle()) {
            // Only the stacking changes: tell the window system directly, so
            // the window is not re-shown (a re-show brings synthetic enter and
            // mouse-move events that would undo the change at once).
            w->overrideWindowFlags(f);
            w->windowHandle()->setFlags(f);
            changed = true;  // the toolkit has set its Motif hints again
        } else if (f != w->windowFlags()) {
            // The window stays visible for the program: the hide and show the
            // toolkit needs to change the flags are not reported.
            const bool visible = w->isVisible();
            d_->quietShowHide = true;
            w->setWindowFlags(f);
            changed = true;
            if (visible) reshow(w);
            if (!guard || FromWidget(guard) != this) return;  // freed meanwhile
            d_->quietShowHide = false;
        }
        if (!d_->flagsPending && wanted() == w->windowFlags()) break;
    }
    d_->applyingFlags = false;
    if (changed && w->isVisible()) prepareFrame();
    if (style_ & WS_THICKFRAME) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        w->setFixedSize(w->size());
    }
    w->setAcceptDrops(exStyle_ & WS_EX_ACCEPTFILES);
}

// What the flags cannot say, told before the window is mapped (and again
// after the toolkit set its own hints). A border without a title bar gets
// Motif hints of its own (Qt would give such a window no frame at all).
// Such a window is a handle that stands in for another window, so it is
// nobody's transient: window managers hide the transients of a minimised
// window with it. Other owned forms stay transient for their owner.
void TFormControl::prepareFrame() {
    QWidget* w = Widget();
    QWindow* native = w ? w->windowHandle() : nullptr;
    if (!native) return;
    if (frameFlags(style_, exStyle_).BorderWithoutTitle) {
        using namespace widgets_detail;
        // The border alone: openbox (and others) take a resize handle
        // without a title bar as a wish for every decoration.
        X11SetMotifHints(w, MwmFuncResize | MwmFuncMove, MwmDecorBorder);
        if (exStyle_ & WS_EX_TOOLWINDOW) X11SetUtilityType(w);
        native->setTransientParent(nullptr);
    } else if (parent_ && parent_->Widget() && parent_->Widget()->window()->windowHandle()) {
        native->setTransientParent(parent_->Widget()->window()->windowHandle());
    }
}

void TControl::Impl::aboutToMap(TControl* c) {
    c->aboutToMap();
}

void TControl::Impl::painted(TControl* c) {
    Impl* d = c->d_.get();
    QWidget* w = c->Widget();
    if (d->largeIcon.isNull() || !w) return;
    // Once the events of this paint are done; an icon set meanwhile wins.
    QTimer::singleShot(0, w,
                       [w = QPointer<QWidget>(w), small = w->windowIcon().cacheKey(),
                        icon = std::exchange(d->largeIcon, QIcon())] {
                           if (w && w->windowIcon().cacheKey() == small) w->setWindowIcon(icon);
                       });
}

void TControl::SetFrameStyle(int style) {
    if (style < 0 || style > 9) return;
    style_ = (style_ & ~kFrameStyleMask) | kFrames[style].Style;
    exStyle_ = (exStyle_ & ~kFrameExMask) | kFrames[style].ExStyle;
    applyStyle();
}

bool TControl::StaysOnTop() const {
    return (exStyle_ & WS_EX_TOPMOST) != 0;
}

void TControl::SetStaysOnTop(bool on) {
    // Asked for on every mouse move: nothing happens unless the window's
    // state differs from the wish.
    QWidget* w = Widget();
    const bool actual = w ? bool(w->windowFlags() & Qt::WindowStaysOnTopHint) : StaysOnTop();
    if (on == StaysOnTop() && on == actual) return;
    exStyle_ = on ? (exStyle_ | WS_EX_TOPMOST) : (exStyle_ & ~uint32_t(WS_EX_TOPMOST));
    applyStyle();
}

void TControl::SetAlphaBlend(uint8_t alpha) {
    alpha_ = alpha;
    exStyle_ = alpha < 255 ? (exStyle_ | WS_EX_LAYERED) : (exStyle_ & ~uint32_t(WS_EX_LAYERED));
    if (QWidget* w = Widget(); w && IsForm()) w->setWindowOpacity(alpha / 255.0);
}

void TControl::SetToolWindow(bool on) {
    exStyle_ = on ? (exStyle_ | WS_EX_TOOLWINDOW) : (exStyle_ & ~uint32_t(WS_EX_TOOLWINDOW));
    applyStyle();
}

void TControl::SetFrameless(bool on) {
    style_ = on ? (style_ & ~uint32_t(WS_CAPTION)) : (style_ | WS_CAPTION);
    applyStyle();
}

uint8_t TControl::WindowState() const {
    QWidget* w = Widget();
    if (!w) return wsNormal;
    Qt::WindowStates s = w->windowState();
    if ((s & Qt::WindowMinimized) || d_->minimisedByHiding) return wsMinimized;
    if (s & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

void TControl::SetWindowState(uint8_t state, bool activate) {
    QWidget* w = Widget();
    if (!w || state > wsMaximized || state == WindowState()) return;
    Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == wsMinimized) s |= Qt::WindowMinimized;
    if (state == wsMaximized) s |= Qt::WindowMaximized;
    const bool was = w->testAttribute(Qt::WA_ShowWithoutActivating);
    if (!activate) w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    // A Wayland compositor may ignore a client's wish to be minimised and
    // never lets it leave that state by itself: there the window is hidden
    // instead (its restore handle stands in for it) and shown again, and the
    // layer remembers the state. The program is told of neither.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
        (state == wsMinimized || d_->minimisedByHiding)) {
        d_->minimisedByHiding = state == wsMinimized;
        QPointer<QWidget> guard(w);
        d_->quietShowHide = true;
        w->setWindowState(s);
        w->setVisible(state != wsMinimized);
        if (!guard || FromWidget(guard) != this) return;
        d_->quietShowHide = false;
    } else if (!activate && WindowState() == wsMinimized && w->isVisible()) {
        restoreQuietly(state);
    } else {
        w->setWindowState(s);
        if (!w->isVisible()) w->show();
    }
    if (activate) w->activateWindow();
    if (Widget()) w->setAttribute(Qt::WA_ShowWithoutActivating, was);
}

// Leaves the minimised state without taking the focus from the window the
// user works in. A window manager activates a window that asks to leave the
// minimised state (openbox does, for the map request of an iconic window),
// so the window is mapped afresh instead, as a window shown without
// activating (a zero user time; its position hint keeps it in place). Where
// a window manager activates it all the same, the focus goes straight back.
void TControl::restoreQuietly(uint8_t state) {
    QWidget* w = Widget();
    Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == wsMaximized) s |= Qt::WindowMaximized;
    d_->focusToReturn = widgets_detail::X11FocusWindow().value_or(0);
    d_->focusReturnBy = QDeadlineTimer(1000);
    QPointer<QWidget> guard(w);
    d_->quietShowHide = true;
    w->hide();
    w->setWindowState(s);
    w->show();
    if (guard && FromWidget(guard) == this) d_->quietShowHide = false;
}

void TControl::Impl::activated(TControl* c) {
    Impl* d = c->d_.get();
    if (!d->focusToReturn) return;
    const uint32_t focus = d->focusToReturn;
    d->focusToReturn = 0;
    if (!d->focusReturnBy.hasExpired()) widgets_detail::X11SetFocus(focus);
}

void TControl::ShowWindow(bool activate) {
    QWidget* w = Widget();
    if (!w) return;
    if (activate) {
        w->show();
        w->raise();
        w->activateWindow();
    } else {
        reshow(w);
    }
    if (parent_ && align_ != caNone) parent_->AlignChildren();
}

void TControl::Activate() {
    QWidget* w = Widget();
    if (!w) return;
    w->raise();
    w->activateWindow();
}

bool TControl::Active() const {
    QWidget* w = Widget();
    return w && w->isActiveWindow();
}

bool TControl::Close(bool fromProgram) {
    QWidget* w = Widget();
    if (!w) return true;
    d_->closingFromProgram = fromProgram;
    QPointer<QWidget> guard(w);
    const bool closed = w->close();
    // The close may have freed this control.
    if (guard && FromWidget(guard) == this) d_->closingFromProgram = false;
    return closed;
}
