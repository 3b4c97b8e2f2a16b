#pragma once
// TBitmap: a picture in memory (a QImage in 32-bit RGB) with its own canvas.
// A bitmap whose width or height is 0 is empty and draws nothing.

#include <QImage>

#include "tabulo/widgets/canvas.h"

class TBitmap : public TObj {
public:
    TBitmap();
    // A bitmap of the given size, filled with `fill`.
    TBitmap(int width, int height, TColor fill = clWhite);
    ~TBitmap() override;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    bool Empty() const { return image_.isNull() || Width() <= 0 || Height() <= 0; }

    // New size; the old content stays at the top left, new area is white.
    // A size with 0 (or less) in either dimension empties the bitmap.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // Makes the bitmap empty (0 x 0).
    void Clear();

    // The bitmap's own canvas (draws into the picture).
    TCanvas& Canvas();

    // Plain copy onto a canvas with the top left at (x, y).
    void Draw(TCanvas& dest, int x, int y) const;
    // Scaled into a rectangle by the destination canvas's stretch mode.
    void StretchDraw(TCanvas& dest, const TRect& r) const;

    TColor Pixel(int x, int y) const;  // clNone outside the picture
    void SetPixel(int x, int y, TColor color);

    // Copies: the picture becomes a copy of the source's (pixels in our
    // format are shared until either side is drawn on).
    void Assign(const TBitmap& source);
    void AssignImage(const QImage& image);
    // The picture itself, for the layer and the image decoder.
    const QImage& Image() const { return image_; }
    QImage& Image() { return image_; }

private:
    QImage image_;
    TCanvas* canvas_ = nullptr;
};
