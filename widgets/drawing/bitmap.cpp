// TBitmap: a QImage in 32-bit RGB with its own canvas.

#include "tabulo/widgets/bitmap.h"

#include <QPainter>

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TColor fill) {
    if (width > 0 && height > 0) {
        image_ = QImage(width, height, QImage::Format_RGB32);
        if (image_.isNull()) return;  // out of memory: stays empty
        image_.fill(ToQColor(fill));
    }
}

TBitmap::~TBitmap() {
    delete canvas_;
}

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height()) return;
    if (width <= 0 || height <= 0) {
        Clear();
        return;
    }
    QImage next(width, height, QImage::Format_RGB32);
    if (next.isNull()) return;  // too large: keep the old picture
    next.fill(Qt::white);
    if (!image_.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    image_ = std::move(next);
}

void TBitmap::Clear() {
    image_ = QImage();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = new TCanvas();
        canvas_->BindImage(&image_);
    }
    return *canvas_;
}

void TBitmap::Draw(TCanvas& dest, int x, int y) const {
    dest.Draw(x, y, *this);
}
void TBitmap::StretchDraw(TCanvas& dest, const TRect& r) const {
    dest.StretchDraw(r, *this);
}

TColor TBitmap::Pixel(int x, int y) const {
    if (Empty() || !image_.valid(x, y)) return clNone;
    return FromQColor(QColor(image_.pixel(x, y)));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    if (Empty() || !image_.valid(x, y)) return;
    const TColor rgb = ColorToRGB(color);
    image_.setPixel(x, y, qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)));
}

void TBitmap::Assign(const TBitmap& source) {
    if (&source == this) return;
    AssignImage(source.image_);
}

void TBitmap::AssignImage(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        Clear();
        return;
    }
    // In our format the pixels are shared until either side is drawn on
    // (QImage copies on the first write), so a copy costs nothing until then.
    if (image.format() == QImage::Format_RGB32) {
        image_ = image;
    } else if (image.hasAlphaChannel()) {
        // Transparent pixels are shown over white.
        QImage next(image.size(), QImage::Format_RGB32);
        if (next.isNull()) return;
        next.fill(Qt::white);
        QPainter p(&next);
        p.drawImage(0, 0, image);
        p.end();
        image_ = std::move(next);
    } else {
        image_ = image.convertToFormat(QImage::Format_RGB32);
    }
}
