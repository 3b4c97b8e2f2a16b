#include "tabulo/controls/image.h"

#include <algorithm>
#include <cmath>
#include <utility>

TKVImage::TKVImage(TControl* parent) : TKVWin(parent), Bitmap(std::make_unique<TBitmap>()) {}

TKVImage::~TKVImage() = default;

void TKVImage::dropCaches() {
    block_.Clear();
}

void TKVImage::SetSmooth(bool smooth) {
    StretchMode = smooth ? smHalftone : smColorOnColor;
}

void TKVImage::SetMode(int mode) {
    if (mode < dmCenter || mode > dmFill) return;
    mode_ = mode;
    dropCaches();
}

void TKVImage::Init() {
    if (!Control) Control = NewControl(ParentControl);
    InitControl();
    Control->OnClick = [this](TControl&) { FireNull(onClick); };
    Control->OnPaint = [this](TControl& c, TCanvas& canvas) {
        Paint(canvas, c.ClientWidth(), c.ClientHeight());
    };
    Control->Canvas().Brush().SetColor(Color);
    Control->SetOpaquePaint(true);  // every paint covers the client area
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
    dropCaches();
    applyAutoSize();
    repaint();
}

void TKVImage::doClear(TData&, uint16_t) {
    if (Bitmap->Empty()) return;
    Bitmap->Clear();
    dropCaches();
    repaint();
}

void TKVImage::doMode(TData& value, uint16_t) {
    SetMode(AsInt(value));
    repaint();
}

const TBitmap& TKVImage::scaled(int w, int h, double ratio) {
    const auto mode = TStretchMode(StretchMode);
    // The key changes whenever the pixels may change (a new picture, or any
    // write to this one), so a match is the very picture scaled before.
    const int64_t source = std::as_const(*Bitmap).Image().cacheKey();
    auto it = std::find_if(scaled_.begin(), scaled_.end(), [&](const Scaled& s) {
        return s.Source == source && s.Mode == mode && s.Picture->Width() == w &&
               s.Picture->Height() == h && s.Picture->Image().devicePixelRatio() == ratio;
    });
    if (it != scaled_.end()) {
        std::rotate(scaled_.begin(), it, it + 1);
        return *scaled_.front().Picture;
    }
    scaled_.insert(scaled_.begin(), Scaled{source, mode, std::make_unique<TBitmap>()});
    scaled_.front().Picture->Image() = StretchImage(Bitmap->Image(), w, h, mode);
    scaled_.front().Picture->Image().setDevicePixelRatio(ratio);
    int64_t bytes = 0;
    std::size_t keep = 0;
    while (keep < scaled_.size() &&
           (keep == 0 || bytes + scaled_[keep].Picture->Image().sizeInBytes() <= ScaledBudget))
        bytes += scaled_[keep++].Picture->Image().sizeInBytes();
    scaled_.resize(keep);
    return *scaled_.front().Picture;
}

const TBitmap& TKVImage::tileBlock(int cw, int ch) {
    // Doubling the picture a few times keeps the number of copies per paint
    // small however small the picture is; the block's size stays a multiple
    // of the picture's, so the copies fall on the same grid.
    constexpr int Side = 256;
    if (!block_.Empty()) return block_;
    block_.Assign(*Bitmap);
    while (block_.Width() < Side && block_.Width() < cw) {
        TBitmap wider(block_.Width() * 2, block_.Height());
        block_.Draw(wider.Canvas(), 0, 0);
        block_.Draw(wider.Canvas(), block_.Width(), 0);
        block_.Assign(wider);
    }
    while (block_.Height() < Side && block_.Height() < ch) {
        TBitmap taller(block_.Width(), block_.Height() * 2);
        block_.Draw(taller.Canvas(), 0, 0);
        block_.Draw(taller.Canvas(), 0, block_.Height());
        block_.Assign(taller);
    }
    return block_;
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
        case TDrawPlan::Tile: {
            const TBitmap& block = tileBlock(cw, ch);
            for (int x = 0; x < cw; x += block.Width())
                for (int y = 0; y < ch; y += block.Height()) canvas.Draw(x, y, block);
            break;
        }
        case TDrawPlan::Stretch: {
            // Scaled to the device's pixels of the target (twice the logical
            // ones on a 200 % screen), so a picture of that size is shown 1:1.
            const double ratio = canvas.DeviceRatio();
            const int w = DevicePixels(plan.Target.Width(), ratio);
            const int h = DevicePixels(plan.Target.Height(), ratio);
            if (w <= 0 || h <= 0) break;
            if (ratio == 1.0 && w == Bitmap->Width() && h == Bitmap->Height())
                canvas.Draw(plan.Target.Left, plan.Target.Top, *Bitmap);
            else if (double(w) * h > HugeTarget)
                drawVisiblePart(canvas, plan.Target, cw, ch);
            else
                canvas.Draw(plan.Target.Left, plan.Target.Top, scaled(w, h, ratio));
            break;
        }
    }
}

void TKVImage::drawVisiblePart(TCanvas& canvas, const TDrawRect& target, int cw, int ch) {
    // A very thin picture in fill mode overhangs the area by far: scale only
    // the part of the picture that falls inside the area.
    const int vl = std::max(target.Left, 0), vt = std::max(target.Top, 0);
    const int vr = std::min(target.Right, cw), vb = std::min(target.Bottom, ch);
    if (vr <= vl || vb <= vt) return;
    const double fx = double(Bitmap->Width()) / target.Width();
    const double fy = double(Bitmap->Height()) / target.Height();
    const int sx0 = int(std::floor((vl - target.Left) * fx)),
              sy0 = int(std::floor((vt - target.Top) * fy));
    const int sx1 = std::min(Bitmap->Width(), int(std::ceil((vr - target.Left) * fx)));
    const int sy1 = std::min(Bitmap->Height(), int(std::ceil((vb - target.Top) * fy)));
    if (sx1 <= sx0 || sy1 <= sy0) return;
    // The part's place and size at the target scale.
    const int dl = target.Left + int(std::lround(sx0 / fx)),
              dt = target.Top + int(std::lround(sy0 / fy));
    const int dw = std::max(1, int(std::lround((sx1 - sx0) / fx)));
    const int dh = std::max(1, int(std::lround((sy1 - sy0) / fy)));
    if (double(dw) * dh > HugeTarget) return;  // nothing sensible to show
    TBitmap part(sx1 - sx0, sy1 - sy0);
    Bitmap->Draw(part.Canvas(), -sx0, -sy0);
    TBitmap shown;
    shown.Image() = StretchImage(part.Image(), dw, dh, TStretchMode(StretchMode));
    canvas.Draw(dl, dt, shown);
}
