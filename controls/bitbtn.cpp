#include "tabulo/controls/bitbtn.h"

TKVBitBtn::TKVBitBtn(TControl* parent) : TKVWin(parent), Glyph(std::make_unique<TBitmap>()) {}

TKVBitBtn::~TKVBitBtn() = default;

void TKVBitBtn::SetCaption(const TText& caption) {
    Caption = caption;
    if (Control) Control->SetText(caption);
}

void TKVBitBtn::doCaption(TData& value, uint16_t) {
    SetCaption(AsText(value));
}

void TKVBitBtn::Init() {
    if (!Control) Control = NewBitButton(ParentControl, Caption);
    InitControl();
    Control->SetFlat(Flat);
    Control->SetTextShift(1, 1);
    Control->OnDrawItem = [this](TControl&, TCanvas& canvas, const TRect& r, int state) {
        DrawButton(canvas, r, state);
        return true;
    };
    Control->OnClick = [this](TControl&) { FireCopy(onClick, Data); };
}

void TKVBitBtn::MouseOver() {
    const bool entering = !pointerOver_;
    pointerOver_ = true;
    TKVWin::MouseOver();
    if (entering) FireCopy(onHoverValue, Data);
}

void TKVBitBtn::MouseLeave() {
    pointerOver_ = false;
    TKVWin::MouseLeave();
}

const TBitmap& TKVBitBtn::GreyGlyph() {
    if (grey_) return *grey_;
    grey_ = std::make_unique<TBitmap>();
    if (Glyph->Empty()) return *grey_;
    // Pixels of the top-left (transparent) colour stay; the others turn grey.
    grey_->Assign(*Glyph);
    const TColor key = Glyph->Pixel(0, 0);
    for (int y = 0; y < grey_->Height(); ++y)
        for (int x = 0; x < grey_->Width(); ++x) {
            const TColor c = grey_->Pixel(x, y);
            if (c == key) continue;
            const int g = (RedOf(c) + GreenOf(c) + BlueOf(c)) / 3;
            grey_->SetPixel(x, y, RGBColor(g, g, g));
        }
    return *grey_;
}

void TKVBitBtn::DrawButton(TCanvas& canvas, const TRect& client, int state) {
    const bool pressed = state == odsPressed;
    // 1. Background and frame.
    if (!Control->Flat()) {
        canvas.DrawPushButtonFrame(client, pbTransparent | (pressed ? pbPushed : 0u));
    } else {
        canvas.FillRect(client, Control->Color());
        TRect edge = client;
        if (pressed)
            canvas.DrawEdge(edge, bdrSunkenOuter, bfRect);
        else if (state == odsHot)
            canvas.DrawEdge(edge, bdrRaisedInner, bfRect);
        else if (!NoFrame)
            canvas.FrameRect(client, FrameColor);
    }

    // 2. Glyph and text positions; everything sits 1 pixel up-left unless pressed.
    const TText caption = Control->Text();
    const int gw = Glyph->Width(), gh = Glyph->Height();
    int gx = caption.empty() ? (client.Width() - gw) / 2 : 3;
    int gy = (client.Height() - gh) / 2;
    TRect text = client;
    text.Left += gw + 3;
    text.Right -= 3;
    if (!pressed) {
        gx -= 1;
        gy -= 1;
        text.Left -= 2;
        text.Top -= 2;
    }

    // 3. Glyph.
    if (!Glyph->Empty()) canvas.Draw(gx, gy, state == odsDisabled ? GreyGlyph() : *Glyph);

    // 4. Caption.
    if (caption.empty()) return;
    canvas.Font().Assign(Control->Font());
    canvas.SetTransparentText(true);
    const uint32_t flags = dtCenter | dtVCenter | dtSingleLine | dtExpandTabs;
    if (state == odsDisabled) {
        TRect light{text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
        canvas.Font().SetColor(clWindow);
        canvas.DrawText(caption.view(), light, flags);
        canvas.Font().SetColor(clBtnShadow);
        canvas.DrawText(caption.view(), text, flags);
    } else {
        canvas.DrawText(caption.view(), text, flags);
    }
}
