#pragma once
// The geometry of the picture display's six drawing modes.
//
// PlanDrawing turns a client size, a picture size and a mode into what one
// paint does: the rectangles filled with the background colour and where the
// picture goes (copied unscaled, stretched into a rectangle, or tiled). It is
// pure arithmetic, shared by the paint routine and the tests.

#include <cstdint>
#include <vector>

struct TDrawRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TDrawRect&, const TDrawRect&) = default;
};

enum TDrawMode : int {
    dmCenter = 0,
    dmStretch = 1,
    dmFit = 2,
    dmTile = 3,
    dmTopLeft = 4,
    dmFill = 5,
};

struct TDrawPlan {
    enum Kind { Copy, Stretch, Tile };
    Kind How = Copy;
    // Copy: the picture's top left at (Target.Left, Target.Top); Stretch: the
    // whole picture scaled into Target; Tile: copies at every multiple of the
    // picture size from (0, 0), as many as fit plus one in each direction.
    TDrawRect Target;
    // Background fills, in painting order; rectangles without area are left out.
    std::vector<TDrawRect> Fills;
    int TilesX = 0, TilesY = 0;  // Tile: copies per row and per column
};

// cw, ch: client size; w, h: picture size (both > 0); mode 0..5.
TDrawPlan PlanDrawing(int cw, int ch, int w, int h, int mode);
