// Colours, fonts, brushes and pens.

#include "tabulo/widgets/graphics.h"

#include "tabulo/widgets/fontfaces.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QPalette>
#include <QPen>
#include <QScreen>

namespace {
int cachedDpi = 0;

// The classic values, for a process without a GUI application.
TColor fallbackSystemColor(int index) {
    switch (index) {
        case 5:
        case 14:
        case 20:
            return RGBColor(255, 255, 255);
        case 6:
        case 7:
        case 8:
        case 9:
        case 18:
        case 21:
        case 23:
            return RGBColor(0, 0, 0);
        case 13:
            return RGBColor(0, 120, 215);
        case 16:
            return RGBColor(160, 160, 160);
        case 17:
            return RGBColor(109, 109, 109);
        case 22:
            return RGBColor(227, 227, 227);
        case 24:
            return RGBColor(255, 255, 225);
        case 12:
            return RGBColor(171, 171, 171);
        default:
            return RGBColor(240, 240, 240);
    }
}

TColor fromQ(const QColor& c) {
    return RGBColor(c.red(), c.green(), c.blue());
}
}  // namespace

TColor ColorToRGB(TColor c) {
    if (!IsSystemColor(c)) return c & 0xFFFFFF;
    const int index = int(c & 0xFF);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return fallbackSystemColor(index);
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
        case 0:   // scroll bar
        case 10:  // active border
        case 11:  // inactive border
        case 15:  // button face
            return fromQ(pal.color(QPalette::Button));
        case 1:  // desktop
            return fromQ(pal.color(QPalette::Dark));
        case 2:   // active caption
        case 13:  // highlight
            return fromQ(pal.color(QPalette::Highlight));
        case 3:   // inactive caption
        case 12:  // application work space
            return fromQ(pal.color(QPalette::Mid));
        case 4:  // menu
            return fromQ(pal.color(QPalette::Window));
        case 5:  // window
            return fromQ(pal.color(QPalette::Base));
        case 6:   // window frame
        case 21:  // 3-D dark shadow
            return fromQ(pal.color(QPalette::Shadow));
        case 7:  // menu text
        case 8:  // window text
            return fromQ(pal.color(QPalette::WindowText));
        case 9:   // caption text
        case 14:  // highlighted text
            return fromQ(pal.color(QPalette::HighlightedText));
        case 16:  // button shadow
            return fromQ(pal.color(QPalette::Dark));
        case 17:  // grey text
            return fromQ(pal.color(QPalette::Disabled, QPalette::Text));
        case 18:  // button text
            return fromQ(pal.color(QPalette::ButtonText));
        case 19:  // inactive caption text
            return fromQ(pal.color(QPalette::Text));
        case 20:  // button highlight
            return fromQ(pal.color(QPalette::Light));
        case 22:  // 3-D light
            return fromQ(pal.color(QPalette::Midlight));
        case 23:  // tooltip text
            return fromQ(pal.color(QPalette::ToolTipText));
        case 24:  // tooltip background
            return fromQ(pal.color(QPalette::ToolTipBase));
        default:
            return fromQ(pal.color(QPalette::Window));
    }
}

QColor ToQColor(TColor c) {
    TColor rgb = ColorToRGB(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}
TColor FromQColor(const QColor& c) {
    return fromQ(c);
}

int ScreenLogicalDpi() {
    if (cachedDpi > 0) return cachedDpi;
    int dpi = 96;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (QScreen* s = QGuiApplication::primaryScreen()) dpi = qRound(s->logicalDotsPerInchY());
    }
    cachedDpi = dpi > 0 ? dpi : 96;
    return cachedDpi;
}

void SetScreenLogicalDpiForTesting(int dpi) {
    cachedDpi = dpi;
}

int FontHeightForSize(int points, int dpi) {
    return -((points * dpi + 36) / 72);
}

TGraphicTool::TGraphicTool(TGraphicToolKind kind) : kind_(kind) {
    color_ = kind == TGraphicToolKind::Brush ? clWhite : clBlack;
}

TGraphicTool::TGraphicTool(const TGraphicTool& other) : TObj(), kind_(other.kind_) {
    Assign(other);
}

TGraphicTool& TGraphicTool::operator=(const TGraphicTool& other) {
    if (this != &other) Assign(other);
    return *this;
}

void TGraphicTool::changed() {
    if (OnChange) OnChange();
}

void TGraphicTool::SetColor(TColor c) {
    if (c == color_) return;
    color_ = c;
    changed();
}
void TGraphicTool::SetFontName(const TText& name) {
    if (name.view() == fontName_.view()) return;
    fontName_ = name;
    changed();
}
void TGraphicTool::SetFontSize(int points) {
    const int height = points > 0 ? FontHeightForSize(points) : 0;
    if (points == fontSize_ && height == fontHeight_) return;
    fontSize_ = points;
    fontHeight_ = height;
    changed();
}
void TGraphicTool::SetFontHeight(int height) {
    if (height == fontHeight_) return;
    fontHeight_ = height;
    changed();
}
void TGraphicTool::SetFontStyle(uint8_t style) {
    if ((style & 0x0F) == fontStyle_) return;
    fontStyle_ = style & 0x0F;
    changed();
}
void TGraphicTool::SetFontCharset(uint8_t charset) {
    if (charset == charset_) return;
    charset_ = charset;
    changed();
}
void TGraphicTool::SetBrushStyle(TBrushStyle s) {
    brushStyle_ = s;
    changed();
}
void TGraphicTool::SetPenWidth(int w) {
    penWidth_ = w < 0 ? 0 : w;
    changed();
}
void TGraphicTool::SetPenStyle(TPenStyle s) {
    penStyle_ = s;
    changed();
}

void TGraphicTool::Assign(const TGraphicTool& o) {
    if (color_ == o.color_ && fontName_.view() == o.fontName_.view() && fontSize_ == o.fontSize_ &&
        fontHeight_ == o.fontHeight_ && fontStyle_ == o.fontStyle_ && charset_ == o.charset_ &&
        brushStyle_ == o.brushStyle_ && penWidth_ == o.penWidth_ && penStyle_ == o.penStyle_)
        return;
    color_ = o.color_;
    fontName_ = o.fontName_;
    fontSize_ = o.fontSize_;
    fontHeight_ = o.fontHeight_;
    fontStyle_ = o.fontStyle_;
    charset_ = o.charset_;
    brushStyle_ = o.brushStyle_;
    penWidth_ = o.penWidth_;
    penStyle_ = o.penStyle_;
    changed();
}

QFont TGraphicTool::ToQFont() const {
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    QFont f = gui ? QGuiApplication::font() : QFont();
    int charHeight = 0;
    if (fontHeight_ < 0) {
        charHeight = -fontHeight_;
    } else if (fontHeight_ > 0) {
        // A cell height: the character height is about 80% of it.
        charHeight = std::max(1, fontHeight_ * 4 / 5);
    }
    if (!fontName_.empty()) {
        const TFaceChoice face =
            ChooseFace(fontName_.view(), charHeight, gui ? qGuiApp->devicePixelRatio() : 1.0);
        f.setFamilies(face.Families);
        if (face.PixelSize > 0) charHeight = face.PixelSize;
        if (face.Crisp) f.setStyleStrategy(QFont::NoAntialias);
    }
    if (charHeight > 0) f.setPixelSize(charHeight);
    f.setBold(fontStyle_ & fsBold);
    f.setItalic(fontStyle_ & fsItalic);
    f.setUnderline(fontStyle_ & fsUnderline);
    f.setStrikeOut(fontStyle_ & fsStrikeOut);
    return f;
}

QColor TGraphicTool::ToQColor() const {
    return ::ToQColor(color_);
}

QPen TGraphicTool::ToQPen() const {
    if (penStyle_ == psClear) return QPen(Qt::NoPen);
    QPen p(::ToQColor(color_));
    p.setWidth(penWidth_ <= 1 ? 0 : penWidth_);
    p.setCosmetic(penWidth_ <= 1);
    switch (penStyle_) {
        case psDash:
            p.setStyle(Qt::DashLine);
            break;
        case psDot:
            p.setStyle(Qt::DotLine);
            break;
        case psDashDot:
            p.setStyle(Qt::DashDotLine);
            break;
        default:
            p.setStyle(Qt::SolidLine);
            break;
    }
    return p;
}

QBrush TGraphicTool::ToQBrush() const {
    if (brushStyle_ == bsClear) return QBrush(Qt::NoBrush);
    return QBrush(::ToQColor(color_));
}
