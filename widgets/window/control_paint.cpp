// TControl: painting by the layer and by the control's owner.

#include <QPainter>

#include "control_impl.h"

namespace widgets_detail {

bool PaintsBeforeBase(const TWidgetLink* link) {
    switch (link->Owner->Kind()) {
        case TControlKind::Form:
        case TControlKind::Panel:
        case TControlKind::Custom:
        case TControlKind::TabPage:
        case TControlKind::Splitter:
        case TControlKind::BitButton:
            return true;
        default:
            return false;
    }
}

namespace {
void drawBorder(TControl* c, TCanvas& canvas, QWidget* w) {
    if (c->IsForm()) return;
    TRect r{0, 0, w->width(), w->height()};
    if (c->ExStyle() & WS_EX_CLIENTEDGE) {
        canvas.DrawEdge(r, edgeSunken, bfRect);
    } else if (c->ExStyle() & WS_EX_STATICEDGE) {
        canvas.DrawEdge(r, bdrSunkenOuter, bfRect);
    } else if (c->Style() & WS_BORDER) {
        canvas.FrameRect(r, clWindowFrame);
    }
}

void defaultBitButton(TControl* c, TCanvas& canvas, const TRect& rect, int state) {
    canvas.FillRect(rect, c->Color());
    TRect r = rect;
    canvas.DrawEdge(r, state == odsPressed ? edgeSunken : edgeRaised, bfRect);
    TRect t = rect;
    if (state == odsPressed) {
        t.Left += c->TextShift().X;
        t.Top += c->TextShift().Y;
        t.Right += c->TextShift().X;
        t.Bottom += c->TextShift().Y;
    }
    canvas.Font().Assign(c->Font());
    if (state == odsDisabled) canvas.Font().SetColor(clGrayText);
    canvas.DrawText(c->Text().view(), t, dtCenter | dtVCenter | dtSingleLine);
}

void panelCaption(TControl* c, TCanvas& canvas, QWidget* w) {
    TmdvPanelData* pd = c->PanelData();
    TText text = c->Text();
    if (!pd || text.empty()) return;
    uint32_t flags = dtSingleLine;
    flags |= pd->HAlign == 1 ? dtCenter : pd->HAlign == 2 ? dtRight : dtLeft;
    flags |= pd->VAlign == 1 ? dtVCenter : pd->VAlign == 2 ? dtBottom : dtTop;
    TRect r{0, 0, w->width(), w->height()};
    canvas.Font().Assign(c->Font());
    canvas.DrawText(text.view(), r, flags);
}
}  // namespace

bool Paint(TWidgetLink* link, QWidget* w, QPaintEvent*, bool basePainted) {
    TControl* c = link->Owner;
    if (!c) return true;
    if (c->IsForm()) TControl::Impl::painted(c);
    const TRect rect{0, 0, w->width(), w->height()};
    if (!basePainted) {
        TMsg erase;
        erase.Message = msgEraseBkgnd;
        bool skipErase = c->Perform(erase);
        if (!(c = link->Owner)) return true;
        TMsg paint;
        paint.Message = msgPaint;
        if (c->Perform(paint)) return true;
        if (!(c = link->Owner)) return true;
        QPainter p(w);
        TCanvas& canvas = c->Canvas();
        canvas.BindPainter(&p);
        if (c->Kind() == TControlKind::BitButton) {
            int state = c->DrawState();
            bool drawn = false;
            if (c->OnDrawItem) {
                auto slot = c->OnDrawItem;
                drawn = slot(*c, canvas, rect, state);
            }
            if ((c = link->Owner) && !drawn) defaultBitButton(c, canvas, rect, state);
        } else {
            if (!skipErase && c->Color() != clNone) canvas.FillRect(rect, c->Color());
            if (c->Kind() == TControlKind::Panel) panelCaption(c, canvas, w);
            drawBorder(c, canvas, w);
            if (c->OnPaint) {
                auto slot = c->OnPaint;
                slot(*c, canvas);
            }
            if ((c = link->Owner) && c->PanelData() && c->PanelData()->PaintHook) {
                auto hook = c->PanelData()->PaintHook;
                hook(*c, canvas);
            }
        }
        if ((c = link->Owner)) c->Canvas().Unbind();
        return true;
    }
    // Standard controls: they painted themselves; the owner may add to it.
    if (c->OnPaint) {
        QPainter p(w);
        TCanvas& canvas = c->Canvas();
        canvas.BindPainter(&p);
        auto slot = c->OnPaint;
        slot(*c, canvas);
        if ((c = link->Owner)) c->Canvas().Unbind();
    }
    return true;
}

}  // namespace widgets_detail
