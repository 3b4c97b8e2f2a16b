// Pictures: any bytes decode to a picture within the decoder's limits or to
// nothing, and a PNG the decoder reads itself comes out exactly as Qt's own
// reader gives it.
#include <QBuffer>
#include <QImageReader>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tabulo/widgets/imagebytes.h"
#include "tabulo/widgets/imagedecoder.h"
#include "tabulo/widgets/pngreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = DecodePictureData(bytes);
    if (!image.isNull() && (image.width() > MaxDecodedSide || image.height() > MaxDecodedSide ||
                            qint64(image.width()) * image.height() > MaxDecodedPixels))
        std::abort();

    QBuffer own;
    own.setData(bytes);
    own.open(QIODevice::ReadOnly);
    const std::optional<QImage> direct =
        ReadPlainPng(own, [](QSize s) { return qint64(s.width()) * s.height() <= 1 << 20; });
    if (direct && !direct->isNull()) {
        QBuffer qt;
        qt.setData(bytes);
        qt.open(QIODevice::ReadOnly);
        QImage byQt;
        if (!QImageReader(&qt, "png").read(&byQt) || byQt != *direct ||
            byQt.format() != direct->format() || byQt.dotsPerMeterX() != direct->dotsPerMeterX() ||
            byQt.dotsPerMeterY() != direct->dotsPerMeterY())
            std::abort();
    }
    return 0;
}
