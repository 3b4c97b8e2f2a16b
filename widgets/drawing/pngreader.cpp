#include "tabulo/widgets/pngreader.h"

#include <png.h>

#include <QIODevice>
#include <QtGlobal>
#include <csetjmp>

namespace {

constexpr png_uint_32 kConverted =
    PNG_INFO_gAMA | PNG_INFO_cHRM | PNG_INFO_iCCP | PNG_INFO_sRGB | PNG_INFO_sBIT | PNG_INFO_tRNS;

enum class Outcome { NotPlain, Failed, Done };

// Errors and warnings are not printed: a picture that cannot be read is a
// null image, as from Qt's reader.
[[noreturn]] void Fail(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void Ignore(png_structp, png_const_charp) {}

void ReadFromDevice(png_structp png, png_bytep out, size_t length) {
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(png));
    size_t done = 0;
    while (done < length) {
        const qint64 n = device->read(reinterpret_cast<char*>(out + done), qint64(length - done));
        if (n <= 0) break;
        done += size_t(n);
    }
    if (done < length) png_error(png, "short read");
}

// libpng reports errors by longjmp: nothing in this frame, nor in the
// callbacks it leaves, may need a destructor. The image is the caller's.
Outcome Read(png_structp png, png_infop info, const std::function<bool(QSize)>& acceptable,
             QImage* image) {
    if (setjmp(png_jmpbuf(png))) return Outcome::Failed;
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int depth = 0, colour = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    if (depth != 8 || (colour != PNG_COLOR_TYPE_RGB && colour != PNG_COLOR_TYPE_RGBA) ||
        interlace != PNG_INTERLACE_NONE || png_get_valid(png, info, kConverted) != 0)
        return Outcome::NotPlain;
    if (width > png_uint_32(INT_MAX) || height > png_uint_32(INT_MAX) ||
        !acceptable(QSize(int(width), int(height))))
        return Outcome::Failed;
    // Memory order B, G, R, A: a 32-bit 0xAARRGGBB on a little-endian
    // machine, opaque filler for RGB.
    png_set_bgr(png);
    if (colour == PNG_COLOR_TYPE_RGB) png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    *image = QImage(int(width), int(height),
                    colour == PNG_COLOR_TYPE_RGB ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    if (image->isNull()) return Outcome::Failed;
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, image->scanLine(int(y)), nullptr);
    png_read_end(png, nullptr);
    png_uint_32 xPerMetre = 0, yPerMetre = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &xPerMetre, &yPerMetre, &unit) != 0 &&
        unit == PNG_RESOLUTION_METER) {
        image->setDotsPerMeterX(int(xPerMetre));
        image->setDotsPerMeterY(int(yPerMetre));
    }
    return Outcome::Done;
}

}  // namespace

std::optional<QImage> ReadPlainPng(QIODevice& device,
                                   const std::function<bool(QSize)>& acceptable) {
    // The row layout below is that of a little-endian machine; elsewhere Qt
    // reads every picture.
    if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN) return std::nullopt;
    char signature[8];
    if (device.peek(signature, 8) != 8 ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(signature), 0, 8) != 0)
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Ignore);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    png_set_read_fn(png, &device, &ReadFromDevice);
    QImage image;
    const Outcome outcome = Read(png, info, acceptable, &image);
    png_destroy_read_struct(&png, &info, nullptr);
    switch (outcome) {
        case Outcome::NotPlain:
            return std::nullopt;
        case Outcome::Failed:
            return QImage();
        case Outcome::Done:
            break;
    }
    return image;
}
