#pragma once
// TCanvas: a drawing surface with its font, brush and pen, over QPainter.
//
// A canvas draws either through a painter that is active for the duration of
// a paint (a control's canvas inside its paint slot) or on an image (a
// bitmap's canvas, which opens a painter per operation). An unbound canvas
// draws nothing. Rectangles have exclusive right and bottom edges; drawing is
// pixel-exact (no antialiasing).

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "tabulo/widgets/graphics.h"

class QPainter;
class QImage;
class TBitmap;
class TIcon;

// Stretch modes of StretchDraw.
enum TStretchMode : int {
    smBlackOnWhite = 1,
    smWhiteOnBlack = 2,
    smColorOnColor = 3,  // nearest pixel
    smHalftone = 4,      // area averaging (box filter)
};

// DrawText flags.
enum : uint32_t {
    dtLeft = 0x0,
    dtTop = 0x0,
    dtCenter = 0x1,
    dtRight = 0x2,
    dtVCenter = 0x4,
    dtBottom = 0x8,
    dtWordBreak = 0x10,
    dtSingleLine = 0x20,
    dtExpandTabs = 0x40,
    dtNoClip = 0x100,
    dtCalcRect = 0x400,
    dtNoPrefix = 0x800,
    dtEndEllipsis = 0x8000,
};

// DrawEdge: edge kinds and the sides to draw.
enum : uint32_t {
    bdrRaisedOuter = 0x1,
    bdrSunkenOuter = 0x2,
    bdrRaisedInner = 0x4,
    bdrSunkenInner = 0x8,
    edgeRaised = bdrRaisedOuter | bdrRaisedInner,
    edgeSunken = bdrSunkenOuter | bdrSunkenInner,
    edgeEtched = bdrSunkenOuter | bdrRaisedInner,
    edgeBump = bdrRaisedOuter | bdrSunkenInner,
};
enum : uint32_t {
    bfLeft = 0x1,
    bfTop = 0x2,
    bfRight = 0x4,
    bfBottom = 0x8,
    bfRect = 0xF,
    bfMiddle = 0x800,   // fill the inside with the button face colour
    bfAdjust = 0x2000,  // shrink the rectangle by the edge drawn
};

// DrawPushButtonFrame state bits.
enum : uint32_t {
    pbPushed = 0x200,
    pbTransparent = 0x800,  // do not fill the face
    pbFlat = 0x4000,
};

class TCanvas : public TObj {
public:
    TCanvas();
    ~TCanvas() override;

    // Binding. A painter stays owned by its maker and must outlive the binding.
    void BindPainter(QPainter* painter);
    void BindImage(QImage* image);
    void Unbind();
    bool Bound() const { return painter_ != nullptr || image_ != nullptr; }

    TGraphicTool& Font() { return font_; }
    TGraphicTool& Brush() { return brush_; }
    TGraphicTool& Pen() { return pen_; }

    // Text background: transparent (default) or opaque in BackColor.
    bool TransparentText() const { return transparentText_; }
    void SetTransparentText(bool t) { transparentText_ = t; }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c) { backColor_ = c; }

    TStretchMode StretchMode() const { return stretchMode_; }
    void SetStretchMode(TStretchMode m) { stretchMode_ = m; }

    // Fills the rectangle with the brush (nothing with a clear brush).
    void FillRect(const TRect& r);
    // Fills with a colour regardless of the brush.
    void FillRect(const TRect& r, TColor color);
    // Outline with the pen on the rectangle's outermost pixels, inside filled
    // with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // A 1-pixel outline in `color` on the rectangle's outermost pixels.
    void FrameRect(const TRect& r, TColor color);

    // Text with its cell's top left at (x, y), in the font's colour.
    void TextOut(int x, int y, std::string_view text);
    // Text laid out in a rectangle by the dt* flags. With dtCalcRect nothing
    // is drawn and r is set to the rectangle the text needs. Answers the
    // height of the text drawn.
    int DrawText(std::string_view text, TRect& r, uint32_t flags);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Bitmaps: plain copy, and scaled into a rectangle by the stretch mode.
    // An empty bitmap draws nothing. Coordinates are logical pixels; a
    // plain copy covers as many logical pixels as the picture has pixels
    // (a picture that says it holds more pixels per logical one, by its
    // device pixel ratio, covers fewer), and a scaled one is scaled to the
    // device's pixels of the rectangle, so no pixel of the picture is lost
    // to a scaling step on a high-DPI screen.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // Plain images (the bitmap forms above use these).
    void DrawImage(int x, int y, const QImage& image);
    void StretchDrawImage(const TRect& dest, const QImage& image);
    // Device pixels per logical pixel of what the canvas draws on (1 for a
    // bitmap's own canvas and for no surface at all).
    double DeviceRatio() const;
    // An icon at (x, y), at its own size or the size given.
    void DrawIcon(int x, int y, const TIcon& icon, int width = 0, int height = 0);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    // Pen position and lines (the end point of a line is not drawn).
    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);
    void Polyline(std::span<const TPoint> points);

    // Three-dimensional edges and the push-button frame.
    void DrawEdge(TRect& r, uint32_t edge, uint32_t flags);
    void DrawPushButtonFrame(const TRect& r, uint32_t state);

    // Runs fn with the painter of one operation (the bound painter, or one
    // opened on the bound image), clip applied, state restored afterwards.
    // Nothing happens on an unbound canvas. For drawing the canvas has no
    // operation for (the image decoder's tiles).
    void WithPainter(const std::function<void(QPainter&)>& fn);

    // Clipping of every later operation to a rectangle, until cleared.
    void SetClipRect(const TRect& r);
    void ClearClip();
    bool Clipped() const { return clipped_; }

private:
    class Scope;
    void prepare(QPainter& p, bool forFill);

    QPainter* painter_ = nullptr;
    QImage* image_ = nullptr;
    TGraphicTool font_{TGraphicToolKind::Font};
    TGraphicTool brush_{TGraphicToolKind::Brush};
    TGraphicTool pen_{TGraphicToolKind::Pen};
    bool transparentText_ = true;
    TColor backColor_ = clWindow;
    TStretchMode stretchMode_ = smColorOnColor;
    TPoint penPos_;
    bool clipped_ = false;
    TRect clip_;
};

// Scales an image to w x h by the stretch mode: halftone averages the source
// pixels each target pixel covers, the other modes take the nearest pixel.
QImage StretchImage(const QImage& source, int w, int h, TStretchMode mode);

// The device pixels that a length of `logical` pixels covers at a device
// pixel ratio.
int DevicePixels(int logical, double ratio);
