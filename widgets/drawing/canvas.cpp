// TCanvas over QPainter.

#include "tabulo/widgets/canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cmath>
#include <optional>

#include "tabulo/widgets/bitmap.h"
#include "tabulo/widgets/icon.h"

namespace {
QString toQ(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
QRect toQ(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
}  // namespace

// The painter of one operation: the bound painter (state saved and restored
// around the operation) or a painter opened on the bound image.
class TCanvas::Scope {
public:
    explicit Scope(TCanvas& c) {
        if (c.painter_) {
            p = c.painter_;
            p->save();
            saved = true;
        } else if (c.image_ && !c.image_->isNull()) {
            own.emplace(c.image_);
            p = &*own;
        }
        if (!p) return;
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (c.clipped_) p->setClipRect(toQ(c.clip_), Qt::IntersectClip);
    }
    ~Scope() {
        if (saved) p->restore();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    QPainter* p = nullptr;
    std::optional<QPainter> own;
    bool saved = false;
};

TCanvas::TCanvas() {
    brush_.SetColor(clWhite);
}
TCanvas::~TCanvas() = default;

void TCanvas::BindPainter(QPainter* painter) {
    painter_ = painter;
    image_ = nullptr;
}
void TCanvas::BindImage(QImage* image) {
    image_ = image;
    painter_ = nullptr;
}
void TCanvas::Unbind() {
    painter_ = nullptr;
    image_ = nullptr;
}

void TCanvas::WithPainter(const std::function<void(QPainter&)>& fn) {
    Scope s(*this);
    if (s.p && fn) fn(*s.p);
}

void TCanvas::SetClipRect(const TRect& r) {
    clip_ = r;
    clipped_ = true;
}
void TCanvas::ClearClip() {
    clipped_ = false;
}

void TCanvas::FillRect(const TRect& r) {
    if (brush_.BrushStyle() == bsClear) return;
    FillRect(r, brush_.Color());
}

void TCanvas::FillRect(const TRect& r, TColor color) {
    if (r.Empty() || color == clNone) return;
    Scope s(*this);
    if (s.p) s.p->fillRect(toQ(r), ToQColor(color));
}

void TCanvas::FrameRect(const TRect& r, TColor color) {
    if (r.Empty() || color == clNone) return;
    Scope s(*this);
    if (!s.p) return;
    const QColor c = ToQColor(color);
    s.p->fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    s.p->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    s.p->fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    s.p->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    TRect r{left, top, right, bottom};
    if (r.Empty()) return;
    FillRect(r);
    if (pen_.PenStyle() == psClear) return;
    const int w = std::max(1, pen_.PenWidth());
    Scope s(*this);
    if (!s.p) return;
    const QColor c = pen_.ToQColor();
    s.p->fillRect(QRect(r.Left, r.Top, r.Width(), w), c);
    s.p->fillRect(QRect(r.Left, r.Bottom - w, r.Width(), w), c);
    s.p->fillRect(QRect(r.Left, r.Top, w, r.Height()), c);
    s.p->fillRect(QRect(r.Right - w, r.Top, w, r.Height()), c);
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    Scope s(*this);
    if (!s.p) return;
    const QFont f = font_.ToQFont();
    const QFontMetrics fm(f);
    const QString q = toQ(text);
    if (!transparentText_ && backColor_ != clNone)
        s.p->fillRect(QRect(x, y, fm.horizontalAdvance(q), fm.height()), ToQColor(backColor_));
    s.p->setFont(f);
    s.p->setPen(font_.ToQColor());
    s.p->drawText(QPoint(x, y + fm.ascent()), q);
    penPos_ = {x + fm.horizontalAdvance(q), y};
}

int TCanvas::DrawText(std::string_view text, TRect& r, uint32_t flags) {
    QString q = toQ(text);
    const bool single = flags & dtSingleLine;
    if (single) {
        q.remove(QLatin1Char('\r'));
        q.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    int qf = (flags & dtCenter)  ? Qt::AlignHCenter
             : (flags & dtRight) ? Qt::AlignRight
                                 : Qt::AlignLeft;
    if (single && (flags & dtVCenter))
        qf |= Qt::AlignVCenter;
    else if (single && (flags & dtBottom))
        qf |= Qt::AlignBottom;
    else
        qf |= Qt::AlignTop;
    if (!single && (flags & dtWordBreak)) qf |= Qt::TextWordWrap;
    if (flags & dtExpandTabs) qf |= Qt::TextExpandTabs;
    if (!(flags & dtNoPrefix)) qf |= Qt::TextShowMnemonic;
    if (single) qf |= Qt::TextSingleLine;
    const QFont f = font_.ToQFont();
    const QFontMetrics fm(f);
    if (flags & dtEndEllipsis) q = fm.elidedText(q, Qt::ElideRight, std::max(r.Width(), 0), qf);
    if (flags & dtCalcRect) {
        const int width = (qf & Qt::TextWordWrap) ? std::max(r.Width(), 1) : INT_MAX / 4;
        QRect b = fm.boundingRect(QRect(r.Left, r.Top, width, INT_MAX / 4),
                                  qf & ~(Qt::AlignVertical_Mask | Qt::AlignHorizontal_Mask), q);
        r.Right = r.Left + b.width();
        r.Bottom = r.Top + std::max(b.height(), q.isEmpty() ? 0 : fm.height());
        return r.Height();
    }
    Scope s(*this);
    if (!s.p) return 0;
    const QRect box = toQ(r);
    if (!(flags & dtNoClip)) s.p->setClipRect(box, Qt::IntersectClip);
    s.p->setFont(f);
    QRect used = s.p->boundingRect(box, qf, q);
    if (!transparentText_ && backColor_ != clNone) s.p->fillRect(used, ToQColor(backColor_));
    s.p->setPen(font_.ToQColor());
    s.p->drawText(box, qf, q);
    return used.height();
}

TSize TCanvas::TextExtent(std::string_view text) {
    const QFontMetrics fm(font_.ToQFont());
    const QString q = toQ(text);
    return {fm.horizontalAdvance(q), fm.height()};
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    DrawImage(x, y, bitmap.Image());
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    StretchDrawImage(dest, bitmap.Image());
}

void TCanvas::DrawImage(int x, int y, const QImage& image) {
    if (image.isNull()) return;
    Scope s(*this);
    if (s.p) s.p->drawImage(QPoint(x, y), image);
}

void TCanvas::StretchDrawImage(const TRect& dest, const QImage& image) {
    if (image.isNull() || dest.Empty()) return;
    const double ratio = DeviceRatio();
    const int w = DevicePixels(dest.Width(), ratio), h = DevicePixels(dest.Height(), ratio);
    Scope s(*this);
    if (!s.p) return;
    // Scaled here to the device's pixels, then copied 1:1: the painter's own
    // smooth scaling is bilinear and loses detail when shrinking a lot.
    QImage scaled = StretchImage(image, w, h, stretchMode_);
    scaled.setDevicePixelRatio(ratio);
    s.p->drawImage(QPoint(dest.Left, dest.Top), scaled);
}

double TCanvas::DeviceRatio() const {
    if (painter_ && painter_->device()) return painter_->device()->devicePixelRatio();
    return 1.0;
}

void TCanvas::DrawIcon(int x, int y, const TIcon& icon, int width, int height) {
    icon.Draw(*this, x, y, width, height);
}

TColor TCanvas::Pixel(int x, int y) {
    QImage* img = image_;
    if (!img && painter_) img = dynamic_cast<QImage*>(painter_->device());
    if (!img || !img->valid(x, y)) return clNone;
    return FromQColor(QColor(img->pixel(x, y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    if (image_ && !clipped_) {
        if (image_->valid(x, y)) {
            TColor rgb = ColorToRGB(color);
            image_->setPixel(x, y, qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)));
        }
        return;
    }
    Scope s(*this);
    if (s.p) s.p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

void TCanvas::LineTo(int x, int y) {
    const TPoint from = penPos_;
    penPos_ = {x, y};
    if (pen_.PenStyle() == psClear) return;
    Scope s(*this);
    if (!s.p) return;
    if (pen_.PenWidth() > 1 || pen_.PenStyle() != psSolid) {
        s.p->setPen(pen_.ToQPen());
        s.p->drawLine(from.X, from.Y, x, y);
        return;
    }
    // One pixel wide: every pixel of the line except the last.
    const QColor c = pen_.ToQColor();
    int x0 = from.X, y0 = from.Y;
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (x0 != x || y0 != y) {
        s.p->fillRect(QRect(x0, y0, 1, 1), c);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    const TPoint saved = penPos_;
    penPos_ = points[0];
    for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
    penPos_ = saved;
}

void TCanvas::DrawEdge(TRect& r, uint32_t edge, uint32_t flags) {
    Scope s(*this);
    TRect cur = r;
    auto fill = [&](int x, int y, int w, int h, TColor c) {
        if (s.p && w > 0 && h > 0) s.p->fillRect(QRect(x, y, w, h), ToQColor(c));
    };
    auto band = [&](TColor light, TColor dark) {
        if (cur.Empty()) return;
        if (flags & bfLeft) fill(cur.Left, cur.Top, 1, cur.Height(), light);
        if (flags & bfTop) fill(cur.Left, cur.Top, cur.Width(), 1, light);
        if (flags & bfRight) fill(cur.Right - 1, cur.Top, 1, cur.Height(), dark);
        if (flags & bfBottom) fill(cur.Left, cur.Bottom - 1, cur.Width(), 1, dark);
        if (flags & bfLeft) ++cur.Left;
        if (flags & bfTop) ++cur.Top;
        if (flags & bfRight) --cur.Right;
        if (flags & bfBottom) --cur.Bottom;
    };
    const uint32_t outer = edge & (bdrRaisedOuter | bdrSunkenOuter);
    const uint32_t inner = edge & (bdrRaisedInner | bdrSunkenInner);
    if (outer == bdrRaisedOuter) band(cl3DLight, cl3DDkShadow);
    if (outer == bdrSunkenOuter) band(clBtnShadow, clBtnHighlight);
    if (inner == bdrRaisedInner) band(clBtnHighlight, clBtnShadow);
    if (inner == bdrSunkenInner) band(cl3DDkShadow, cl3DLight);
    if ((flags & bfMiddle) && !cur.Empty())
        fill(cur.Left, cur.Top, cur.Width(), cur.Height(), clBtnFace);
    if (flags & bfAdjust) r = cur;
}

void TCanvas::DrawPushButtonFrame(const TRect& r, uint32_t state) {
    if (r.Empty()) return;
    TRect cur = r;
    uint32_t flags = bfRect;
    if (!(state & pbTransparent)) flags |= bfMiddle;
    if (state & pbFlat) {
        FrameRect(r, (state & pbPushed) ? clBtnShadow : cl3DDkShadow);
        if (!(state & pbTransparent))
            FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, clBtnFace);
        return;
    }
    DrawEdge(cur, (state & pbPushed) ? edgeSunken : edgeRaised, flags);
}

int DevicePixels(int logical, double ratio) {
    return ratio == 1.0 ? logical : int(std::lround(logical * ratio));
}

QImage StretchImage(const QImage& source, int w, int h, TStretchMode mode) {
    if (source.isNull() || w <= 0 || h <= 0) return QImage();
    if (w == source.width() && h == source.height()) return source;
    if (mode == smHalftone) {
        // QImage's smooth scaling averages every source pixel a target pixel
        // covers when shrinking (a box filter), and interpolates when growing.
        const QImage::Format f =
            source.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        const QImage src = source.format() == f ? source : source.convertToFormat(f);
        return src.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return source.scaled(w, h, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
