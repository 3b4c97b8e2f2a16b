#pragma once
// TGraphicTool: a font, a brush or a pen, with its colour and style.
//
// Font heights follow the logical-height convention: a negative height is
// the character height in pixels; FontHeightForSize gives the height of a
// size in points at the screen's logical DPI, -((size * dpi + 36) / 72).

#include <cstdint>
#include <functional>

#include "tabulo/runtime/text.h"
#include "tabulo/widgets/obj.h"

class QColor;
class QFont;
class QPen;
class QBrush;

enum class TGraphicToolKind : uint8_t { Font, Brush, Pen };

enum : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum TBrushStyle : uint8_t { bsSolid = 0, bsClear = 1 };
enum TPenStyle : uint8_t { psSolid = 0, psDash = 1, psDot = 2, psDashDot = 3, psClear = 5 };

// The screen's logical pixels per inch (vertical), read once and cached.
int ScreenLogicalDpi();
// Overrides the cached DPI (tests); 0 reads the screen again next time.
void SetScreenLogicalDpiForTesting(int dpi);
// -((points * dpi + 36) / 72), the division truncating.
int FontHeightForSize(int points, int dpi);
inline int FontHeightForSize(int points) {
    return FontHeightForSize(points, ScreenLogicalDpi());
}

QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);

class TGraphicTool : public TObj {
public:
    explicit TGraphicTool(TGraphicToolKind kind);
    TGraphicTool(const TGraphicTool& other);
    TGraphicTool& operator=(const TGraphicTool& other);

    TGraphicToolKind Kind() const { return kind_; }

    // Every tool: colour (a font's colour is its text colour).
    TColor Color() const { return color_; }
    void SetColor(TColor c);

    // Font.
    const TText& FontName() const { return fontName_; }
    void SetFontName(const TText& name);
    // Size in points; sets the height by the formula above.
    int FontSize() const { return fontSize_; }
    void SetFontSize(int points);
    // Logical height: negative = character height in pixels, positive = cell
    // height, 0 = the toolkit's default.
    int FontHeight() const { return fontHeight_; }
    void SetFontHeight(int height);
    uint8_t FontStyle() const { return fontStyle_; }
    void SetFontStyle(uint8_t style);
    uint8_t FontCharset() const { return charset_; }
    void SetFontCharset(uint8_t charset);
    int FontWeight() const { return (fontStyle_ & fsBold) ? 700 : 400; }

    // Brush.
    TBrushStyle BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(TBrushStyle s);

    // Pen.
    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int w);
    TPenStyle PenStyle() const { return penStyle_; }
    void SetPenStyle(TPenStyle s);

    // Takes colour and every style setting of `other` (same kind expected);
    // a change only when some setting differs.
    void Assign(const TGraphicTool& other);

    // The toolkit objects (made on use, always current).
    QFont ToQFont() const;
    QPen ToQPen() const;
    QBrush ToQBrush() const;
    QColor ToQColor() const;

    // Called after every change (setting a value the tool already has is
    // none); the owning control re-applies the tool.
    std::function<void()> OnChange;

private:
    void changed();

    TGraphicToolKind kind_;
    TColor color_;
    TText fontName_;
    int fontSize_ = 0;
    int fontHeight_ = 0;
    uint8_t fontStyle_ = 0;
    uint8_t charset_ = 1;
    TBrushStyle brushStyle_ = bsSolid;
    int penWidth_ = 1;
    TPenStyle penStyle_ = psSolid;
};
