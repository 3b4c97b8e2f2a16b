#include "tabulo/controls/image.h"

TKVImage::TKVImage(TControl* parent) : TKVWin(parent), Bitmap(std::make_unique<TBitmap>()) {}

TKVImage::~TKVImage() = default;

void TKVImage::SetSmooth(bool smooth) {
    StretchMode = smooth ? smHalftone : smColorOnColor;
}

void TKVImage::SetMode(int mode) {
    if (mode < dmCenter || mode > dmFill) return;
    mode_ = mode;
    cache_ = QImage();
}

void TKVImage::Init() {
    if (!Control) Control = NewControl(ParentControl);
    InitControl();
    Control->OnClick = [this](TControl&) { FireNull(onClick); };
    Control->OnPaint = [this](TControl& c, TCanvas& canvas) {
        Paint(canvas, c.ClientWidth(), c.ClientHeight());
    };
    Control->Canvas().Brush().SetColor(Color);
    if (!Bitmap->Empty()) applyAutoSize();
}

bool TKVImage::HandleMessage(TControl& sender, TMsg& msg) {
    if (msg.Message == msgEraseBkgnd) return true;
    return TKVWin::HandleMessage(sender, msg);
}

void TKVImage::repaint() {
    if (Control) Control->Invalidate();
}

void TKVImage::applyAutoSize() {
    if (!AutoSize || Bitmap->Empty() || !Control) return;
    const int w = Bitmap->Width() > 0 ? Bitmap->Width() : Control->ClientWidth();
    const int h = Bitmap->Height() > 0 ? Bitmap->Height() : Control->ClientHeight();
    Control->SetClientSize(w, h);
    // The alignment applies afterwards, as for any size change.
    if (Control->Align() != caNone && Control->Parent()) Control->Parent()->AlignChildren();
}

void TKVImage::doLoad(TData& value, uint16_t) {
    TBitmap* source = ReadBitmap(value, pullBitmap, nullptr);
    if (!source) return;
    if (source != Bitmap.get()) Bitmap->Assign(*source);
    cache_ = QImage();
    applyAutoSize();
    repaint();
}

void TKVImage::doClear(TData&, uint16_t) {
    if (Bitmap->Empty()) return;
    Bitmap->Clear();
    cache_ = QImage();
    repaint();
}

void TKVImage::doMode(TData& value, uint16_t) {
    SetMode(AsInt(value));
    repaint();
}

const QImage& TKVImage::scaled(int w, int h) {
    const auto mode = TStretchMode(StretchMode);
    if (cache_.isNull() || cache_.width() != w || cache_.height() != h || cacheMode_ != mode) {
        cache_ = StretchImage(Bitmap->Image(), w, h, mode);
        cacheMode_ = mode;
    }
    return cache_;
}

void TKVImage::Paint(TCanvas& canvas, int cw, int ch) {
    canvas.Brush().SetColor(Color);
    if (Bitmap->Empty()) {
        canvas.FillRect(MakeRect(0, 0, cw, ch));
        return;
    }
    const TDrawPlan plan = PlanDrawing(cw, ch, Bitmap->Width(), Bitmap->Height(), mode_);
    for (const TDrawRect& r : plan.Fills)
        canvas.FillRect(MakeRect(r.Left, r.Top, r.Right, r.Bottom));
    switch (plan.How) {
        case TDrawPlan::Copy:
            canvas.Draw(plan.Target.Left, plan.Target.Top, *Bitmap);
            break;
        case TDrawPlan::Tile:
            for (int i = 0; i < plan.TilesX; ++i)
                for (int j = 0; j < plan.TilesY; ++j)
                    canvas.Draw(i * Bitmap->Width(), j * Bitmap->Height(), *Bitmap);
            break;
        case TDrawPlan::Stretch: {
            const int w = plan.Target.Width(), h = plan.Target.Height();
            if (w <= 0 || h <= 0) break;
            if (w == Bitmap->Width() && h == Bitmap->Height())
                canvas.Draw(plan.Target.Left, plan.Target.Top, *Bitmap);
            else
                canvas.DrawImage(plan.Target.Left, plan.Target.Top, scaled(w, h));
            break;
        }
    }
}
