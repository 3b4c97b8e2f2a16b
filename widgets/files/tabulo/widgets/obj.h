#pragma once
// TObj: the root of every widget-layer object, and the small value types the
// layer's operations share (rectangles, points, sizes, colours).

#include <cstdint>

#include "tabulo/runtime/object.h"

class TObj : public TObject {
public:
    TObj() = default;
    // Arbitrary data a user of the object may attach; never touched here.
    void* Tag = nullptr;
};

// A rectangle with exclusive right and bottom edges: (0, 0, 10, 5) covers
// 10 x 5 pixels.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    constexpr int Width() const noexcept { return Right - Left; }
    constexpr int Height() const noexcept { return Bottom - Top; }
    constexpr bool Empty() const noexcept { return Right <= Left || Bottom <= Top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};
constexpr TRect MakeRect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}

struct TPoint {
    int X = 0, Y = 0;
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

// Colour value: 0x00BBGGRR (red in the low byte), or 0xFF000000 plus a system
// colour index, resolved through the application palette when used.
using TColor = uint32_t;
constexpr TColor RGBColor(int r, int g, int b) {
    return TColor(uint8_t(r)) | (TColor(uint8_t(g)) << 8) | (TColor(uint8_t(b)) << 16);
}
constexpr int RedOf(TColor c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return int((c >> 16) & 0xFF);
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;  // "no colour": nothing is painted
// System colours (0xFF000000 + index).
inline constexpr TColor clScrollBar = 0xFF000000;
inline constexpr TColor clBackground = 0xFF000001;
inline constexpr TColor clActiveCaption = 0xFF000002;
inline constexpr TColor clInactiveCaption = 0xFF000003;
inline constexpr TColor clMenu = 0xFF000004;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowFrame = 0xFF000006;
inline constexpr TColor clMenuText = 0xFF000007;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clCaptionText = 0xFF000009;
inline constexpr TColor clAppWorkSpace = 0xFF00000C;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clGrayText = 0xFF000011;
inline constexpr TColor clBtnText = 0xFF000012;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor cl3DDkShadow = 0xFF000015;
inline constexpr TColor cl3DLight = 0xFF000016;
inline constexpr TColor clInfoText = 0xFF000017;
inline constexpr TColor clInfoBk = 0xFF000018;
inline constexpr bool IsSystemColor(TColor c) {
    return (c & 0xFF000000u) == 0xFF000000u;
}

// A system colour becomes the RGB value the palette gives it today; an RGB
// value is returned unchanged.
TColor ColorToRGB(TColor c);
