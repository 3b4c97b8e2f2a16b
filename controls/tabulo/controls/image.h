#pragma once
// TKVImage: the picture display.
//
// Owns a bitmap, takes a copy of each bitmap it is given and paints it in one
// of six drawing modes (0 centre, 1 stretch, 2 fit, 3 tile, 4 top left,
// 5 fill; see drawmode.h) over a background in Color. Smooth scaling
// averages the source pixels each screen pixel covers; without it the
// nearest pixel is taken. Every paint draws from the owned bitmap at the
// current size. The scaled pictures of the last few pictures and sizes are
// kept (ScaledBudget), each tied to the very pixels it was scaled from, so a
// chart shown again at a size it had is not scaled again, while a changed
// picture never meets a stale scaled one.

#include <cstdint>
#include <memory>
#include <vector>

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
    // The memory the kept scaled pictures may take (the latest one is kept
    // whatever its size).
    static constexpr int64_t ScaledBudget = 2 * 1024 * 1024;
    int ScaledKept() const { return int(scaled_.size()); }

private:
    void applyAutoSize();
    void drawVisiblePart(TCanvas& canvas, const TDrawRect& target, int cw, int ch);
    void repaint();
    // The picture scaled to w x h device pixels, for a device of that ratio.
    const TBitmap& scaled(int w, int h, double ratio);
    const TBitmap& tileBlock(int cw, int ch);
    void dropCaches();

    int mode_ = dmStretch;
    struct Scaled {
        int64_t Source;  // QImage::cacheKey of the pixels scaled
        TStretchMode Mode;
        std::unique_ptr<TBitmap> Picture;
    };
    std::vector<Scaled> scaled_;  // most recently used first
    TBitmap block_;  // the picture repeated into a block of at least 256 x 256 (tiling)
};
