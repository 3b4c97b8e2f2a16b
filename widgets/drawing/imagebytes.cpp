#include "tabulo/widgets/imagebytes.h"

#include <QBuffer>
#include <QImageReader>

#include "tabulo/widgets/imagedecoder.h"
#include "tabulo/widgets/pngreader.h"

namespace {

bool AcceptableSize(QSize size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxDecodedSide &&
           size.height() <= MaxDecodedSide &&
           qint64(size.width()) * size.height() <= MaxDecodedPixels;
}

}  // namespace

void LimitDecoderAllocations() {
    static const bool done = [] {
        if (QImageReader::allocationLimit() != 0)
            QImageReader::setAllocationLimit(DecoderAllocationLimitMB);
        return true;
    }();
    (void)done;
}

QImage DecodePicture(QIODevice& device) {
    const qint64 start = device.pos();
    if (std::optional<QImage> png = ReadPlainPng(device, &AcceptableSize)) return *png;
    if (!device.seek(start)) return QImage();
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    // A size the header gives must be sane before anything is allocated.
    const QSize size = reader.size();
    if (size.isValid() && !AcceptableSize(size)) return QImage();
    QImage image;
    if (!reader.read(&image) || !AcceptableSize(image.size())) return QImage();
    return image;
}

QImage DecodePictureData(const QByteArray& bytes) {
    LimitDecoderAllocations();
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return QImage();
    return DecodePicture(buffer);
}
