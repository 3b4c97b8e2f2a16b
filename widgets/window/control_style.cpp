// TControl: fonts, colours and style bits.

#include <QPalette>

#include "control_kinds.h"

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
            if (c.backgroundIsTextArea()) {
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
    if (StandardControl())
        w->setFocusPolicy((style_ & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    applyKindStyle();
    w->setAcceptDrops(exStyle_ & WS_EX_ACCEPTFILES);
    w->update();
}
