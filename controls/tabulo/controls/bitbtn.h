#pragma once
// TKVBitBtn: an owner-drawn button with a glyph, the chart cells of the pages.
//
// Drawing by state (normal, pressed, disabled, focused, hot): a flat button
// is filled with its colour and framed by a 1-pixel rectangle in FrameColor
// (unless NoFrame), with a raised inner edge when hot and a sunken outer edge
// when pressed; a button that is not flat gets the push-button frame. The
// glyph sits 3 pixels from the left (centred without a caption), the caption
// is centred in the rest; both move 1 pixel down-right while pressed. A
// disabled button shows a grey copy of the glyph and an embossed caption.
// A double click counts as a second click.
//
// onHoverValue fires Data (as a copy, the value of onClick) once each time
// the pointer comes over the button, not on every move: a schema may start
// work that a click is likely to ask for next. onMouseEnter is unchanged
// (NULL, for every mouse message).

#include <memory>

#include "tabulo/controls/win.h"
#include "tabulo/widgets/bitmap.h"

class TKVBitBtn : public TKVWin {
public:
    explicit TKVBitBtn(TControl* parent);
    ~TKVBitBtn() override;

    std::unique_ptr<TBitmap> Glyph;  // empty (0 x 0) unless set
    TKV_Event onClick;
    TKV_Event onHoverValue;
    TText Caption;
    TData Data;  // fired (as a copy) with onClick
    bool NoFrame = false;
    TColor FrameColor = clBtnShadow;

    void SetCaption(const TText& caption);
    // Sets the button text to the value read as a string.
    void doCaption(TData& value, uint16_t index);

    void Init() override;
    void MouseOver() override;
    void MouseLeave() override;
    // Paints the button into the canvas; `state` is one of ods*.
    void DrawButton(TCanvas& canvas, const TRect& client, int state);
    // The grey copy of the glyph used while disabled (built on first use).
    const TBitmap& GreyGlyph();

private:
    std::unique_ptr<TBitmap> grey_;
    bool pointerOver_ = false;  // since onHoverValue last fired
};
