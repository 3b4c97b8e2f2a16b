// TControl: fonts, colours, style bits, and the top-level window operations.

#include <QApplication>
#include <QFrame>
#include <QPalette>
#include <QPointer>
#include <QWindow>

#include "control_impl.h"
#include "tabulo/widgets/application.h"

namespace {

void frameShape(QFrame* f, uint32_t style, uint32_t ex) {
    if (ex & WS_EX_CLIENTEDGE) {
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setLineWidth(2);
    } else if (ex & WS_EX_STATICEDGE) {
        f->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        f->setLineWidth(1);
    } else if (style & WS_BORDER) {
        f->setFrameStyle(QFrame::Box | QFrame::Plain);
        f->setLineWidth(1);
    } else {
        f->setFrameStyle(QFrame::NoFrame);
    }
}

// Shows again a window that changing its flags has hidden, without taking
// the focus.
void reshow(QWidget* w) {
    bool was = w->testAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    w->show();
    w->setAttribute(Qt::WA_ShowWithoutActivating, was);
}
}  // namespace

void TControl::applyFont() {
    QWidget* w = Widget();
    canvas_.Font().Assign(font_);
    if (!w) return;
    w->setFont(font_.ToQFont());
    applyColors();
}

namespace {
// The colours a control gives its window, role by role.
struct TRoleColours {
    QPalette::ColorRole Role[5];
    QColor Colour[5];
    int Count = 0;
    void add(QPalette::ColorRole role, const QColor& colour) {
        Role[Count] = role;
        Colour[Count] = colour;
        ++Count;
    }
};

// True when every colour group of `pal` holds the wanted colours; with
// `own`, only counting brushes set on the palette itself (not inherited).
bool matches(const QPalette& pal, const TRoleColours& rc, bool own) {
    for (int i = 0; i < rc.Count; ++i) {
        const QBrush wanted(rc.Colour[i]);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            if (own && !pal.isBrushSet(group, rc.Role[i])) return false;
            if (pal.brush(group, rc.Role[i]) != wanted) return false;
        }
    }
    return true;
}

void setRoles(QWidget* w, const TRoleColours& rc) {
    QPalette pal = w->palette();
    for (int i = 0; i < rc.Count; ++i) pal.setColor(rc.Role[i], rc.Colour[i]);
    w->setPalette(pal);
}
}  // namespace

// Sets the window's palette only when it would change something: most
// controls have their parent's colours, and font and colour changes come one
// property at a time, most of them leaving the colours as they are. A
// window whose colours equal the inherited ones keeps inheriting; before any
// window's colours really change, its descendants in that state get their
// colours as their own, so they keep them as they would have.
void TControl::applyColors() {
    QWidget* w = Widget();
    if (!w) return;
    auto wanted = [](const TControl& c) {
        TRoleColours rc;
        if (c.color_ != clNone) {
            const QColor bg = ToQColor(c.color_);
            if (c.kind_ == TControlKind::Edit || c.kind_ == TControlKind::Memo) {
                rc.add(QPalette::Base, bg);
            } else {
                rc.add(QPalette::Window, bg);
                rc.add(QPalette::Button, bg);
            }
        }
        const QColor fg = ToQColor(c.font_.Color());
        rc.add(QPalette::WindowText, fg);
        rc.add(QPalette::ButtonText, fg);
        rc.add(QPalette::Text, fg);
        return rc;
    };
    const TRoleColours rc = wanted(*this);
    const QPalette& current = w->palette();
    if (matches(current, rc, true)) {
        w->update();
        return;
    }
    if (!w->testAttribute(Qt::WA_SetPalette) && matches(current, rc, false)) {
        d_->paletteInherited = true;
        w->update();
        return;
    }
    for (QWidget* inner : w->findChildren<QWidget*>()) {
        TControl* c = FromWidget(inner);
        if (!c || !c->d_->paletteInherited) continue;
        c->d_->paletteInherited = false;
        setRoles(inner, wanted(*c));
    }
    d_->paletteInherited = false;
    setRoles(w, rc);
    w->update();
}

void TControl::applyStyle() {
    QWidget* w = Widget();
    if (!w) return;
    if (IsForm()) {
        applyFormFlags();
        return;
    }
    if (widgets_detail::IsStandardControl(kind_))
        w->setFocusPolicy((style_ & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    switch (kind_) {
        case TControlKind::Button:
            static_cast<QPushButton*>(w)->setFlat(style_ & BS_FLAT);
            break;
        case TControlKind::Edit:
            static_cast<QLineEdit*>(w)->setFrame(
                (style_ & WS_BORDER) || (exStyle_ & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)));
            break;
        case TControlKind::Memo:
        case TControlKind::Label:
            frameShape(static_cast<QFrame*>(w), style_, exStyle_);
            break;
        default:
            break;
    }
    w->setAcceptDrops(exStyle_ & WS_EX_ACCEPTFILES);
    w->update();
}

void TControl::applyFormFlags() {
    QWidget* w = Widget();
    if (!w) return;
    // Changing the flags hides and shows the window again; what runs on that
    // show may ask for other flags. Such a request is applied after the
    // current one, so the window always ends with the last wish.
    if (d_->applyingFlags) {
        d_->flagsPending = true;
        return;
    }
    auto wanted = [this] {
        const bool caption = (style_ & WS_CAPTION) == WS_CAPTION;
        Qt::WindowFlags f = (exStyle_ & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
        if (!caption) {
            f |= Qt::FramelessWindowHint;
        } else {
            f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint;
            if (style_ & WS_MINIMIZEBOX) f |= Qt::WindowMinimizeButtonHint;
            if ((style_ & WS_MAXIMIZEBOX) && (style_ & WS_THICKFRAME))
                f |= Qt::WindowMaximizeButtonHint;
        }
        if (exStyle_ & WS_EX_TOPMOST) f |= Qt::WindowStaysOnTopHint;
        return f;
    };
    QPointer<QWidget> guard(w);
    d_->applyingFlags = true;
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
        } else if (f != w->windowFlags()) {
            // The window stays visible for the program: the hide and show the
            // toolkit needs to change the flags are not reported.
            const bool visible = w->isVisible();
            d_->quietShowHide = true;
            w->setWindowFlags(f);
            if (visible) reshow(w);
            if (!guard || FromWidget(guard) != this) return;  // freed meanwhile
            d_->quietShowHide = false;
        }
        if (!d_->flagsPending && wanted() == w->windowFlags()) break;
    }
    d_->applyingFlags = false;
    if (style_ & WS_THICKFRAME) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        w->setFixedSize(w->size());
    }
    w->setAcceptDrops(exStyle_ & WS_EX_ACCEPTFILES);
}

void TControl::SetFrameStyle(int style) {
    static const uint32_t styles[10] = {0,        0xC20000, 0xC70000, 0xC00000, 0xC00000,
                                        0xC40000, 0,        0x40000,  0,        0x40000};
    static const uint32_t exStyles[10] = {0, 0, 0, 0x100, 0x80, 0x80, 0x1, 0x80, 0x201, 0x200};
    if (style < 0 || style > 9) return;
    style_ = (style_ & ~uint32_t(0xC70000)) | styles[style];
    exStyle_ = (exStyle_ & ~uint32_t(0x181)) | exStyles[style];
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
    if (s & Qt::WindowMinimized) return wsMinimized;
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
    w->setWindowState(s);
    if (!w->isVisible()) w->show();
    if (activate) w->activateWindow();
    if (Widget()) w->setAttribute(Qt::WA_ShowWithoutActivating, was);
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
