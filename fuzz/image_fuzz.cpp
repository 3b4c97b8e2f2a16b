// Pictures: any bytes decode to a picture within the decoder's limits or to
// nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "tabulo/widgets/imagebytes.h"
#include "tabulo/widgets/imagedecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = DecodePictureData(bytes);
    if (!image.isNull() && (image.width() > MaxDecodedSide || image.height() > MaxDecodedSide ||
                            qint64(image.width()) * image.height() > MaxDecodedPixels))
        std::abort();
    return 0;
}
