// TIcon over QIcon.

#include "tabulo/widgets/icon.h"

#include <QPixmap>

TIcon::TIcon() = default;
TIcon::TIcon(const QIcon& icon, int size) : icon_(icon), size_(size > 0 ? size : 32) {}
TIcon::~TIcon() = default;

void TIcon::Assign(const TIcon& other) {
    icon_ = other.icon_;
    size_ = other.size_;
}

void TIcon::SetImage(const QImage& image) {
    icon_ = image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

QImage TIcon::Image(int width, int height) const {
    if (icon_.isNull() || width <= 0 || height <= 0) return QImage();
    QImage img = icon_.pixmap(QSize(width, height)).toImage();
    if (img.isNull()) return img;
    if (img.width() != width || img.height() != height)
        img = img.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img;
}

void TIcon::Draw(TCanvas& canvas, int x, int y, int width, int height) const {
    if (icon_.isNull()) return;
    const int w = width > 0 ? width : size_;
    const int h = height > 0 ? height : size_;
    // From the icon's picture for the device's pixels (its large sizes on a
    // high-DPI screen), not a small one scaled up.
    const double ratio = canvas.DeviceRatio();
    QImage image = Image(DevicePixels(w, ratio), DevicePixels(h, ratio));
    image.setDevicePixelRatio(ratio);
    canvas.DrawImage(x, y, image);
}
