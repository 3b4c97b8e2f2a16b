// TControl: painting by the layer and by the control's owner.

#include <QPainter>

#include "control_impl.h"

namespace widgets_detail {

bool PaintsBeforeBase(const TWidgetLink* link) {
    return link->Owner->PaintsWindow();
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
        if (c->OwnerDrawn()) {
            int state = c->DrawState();
            bool drawn = false;
            if (c->OnDrawItem) {
                auto slot = c->OnDrawItem;
                drawn = slot(*c, canvas, rect, state);
            }
            if ((c = link->Owner) && !drawn) c->DrawDefaultLook(canvas, rect, state);
        } else {
            if (!skipErase && c->Color() != clNone) canvas.FillRect(rect, c->Color());
            c->DrawCaption(canvas, rect);
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
