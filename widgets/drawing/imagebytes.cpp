#include "tabulo/widgets/imagebytes.h"

#include <QBuffer>
#include <QImageReader>

#include "tabulo/widgets/imagedecoder.h"

namespace {

bool Acceptable(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= MaxDecodedSide &&
           size.height() <= MaxDecodedSide &&
           qint64(size.width()) * size.height() <= MaxDecodedPixels;
}

}  // namespace

QImage DecodeImageBytes(const QByteArray& bytes) {
    // Four bytes a pixel at the largest accepted size.
    const int limitMb = static_cast<int>(MaxDecodedPixels * 4 / (1024 * 1024));
    if (QImageReader::allocationLimit() == 0 || QImageReader::allocationLimit() > limitMb)
        QImageReader::setAllocationLimit(limitMb);
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return QImage();
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && !Acceptable(size)) return QImage();
    QImage image;
    if (!reader.read(&image) || !Acceptable(image.size())) return QImage();
    return image;
}
