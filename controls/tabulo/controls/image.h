#pragma once
// TKVImage: the picture display.
//
// Owns a bitmap, takes a copy of each bitmap it is given and paints it in one
// of six drawing modes (0 centre, 1 stretch, 2 fit, 3 tile, 4 top left,
// 5 fill; see drawmode.h) over a background in Color. Smooth scaling
// averages the source pixels each screen pixel covers; without it the
// nearest pixel is taken. Every paint draws from the owned bitmap at the
// current size; the scaled picture of the last size is kept for the next
// paint and dropped on load, clear, mode change or a new size.

#include <memory>

#include "tabulo/controls/drawmode.h"
#include "tabulo/controls/win.h"
#include "tabulo/widgets/bitmap.h"

class TKVImage : public TKVWin {
public:
    explicit TKVImage(TControl* parent);
    ~TKVImage() override;

    std::unique_ptr<TBitmap> Bitmap;       // the owned picture, empty (0 x 0) at first
    int32_t StretchMode = smColorOnColor;  // smHalftone (4) or smColorOnColor (3)
    bool AutoSize = false;                 // a taken picture sets the client size
    TKV_Event pullBitmap;
    TKV_Event onClick;

    void SetSmooth(bool smooth);
    // 0..5; other values keep the mode.
    void SetMode(int mode);
    int Mode() const { return mode_; }

    // 0 load (a copy of the bitmap read), 1 clear, 2 send to back, 3 bring to
    // front, 4 mode.
    void doLoad(TData& value, uint16_t index);
    void doClear(TData& value, uint16_t index);
    void doMode(TData& value, uint16_t index);

    void Init() override;
    // The background is not erased before a paint: every paint covers the
    // whole client area (picture plus fills).
    bool HandleMessage(TControl& sender, TMsg& msg) override;

    // Paints the current picture into a canvas of the given client size.
    void Paint(TCanvas& canvas, int clientWidth, int clientHeight);

    // Targets larger than this many pixels are scaled only where visible.
    static constexpr double HugeTarget = 16.0 * 1024 * 1024;

private:
    void applyAutoSize();
    void drawVisiblePart(TCanvas& canvas, const TDrawRect& target, int cw, int ch);
    void repaint();
    const TBitmap& scaled(int w, int h);
    const TBitmap& tileBlock(int cw, int ch);
    void dropCaches();

    int mode_ = dmStretch;
    TBitmap cache_;  // the picture scaled to the last target size
    TStretchMode cacheMode_ = smColorOnColor;
    TBitmap block_;  // the picture repeated into a block of at least 256 x 256 (tiling)
};
