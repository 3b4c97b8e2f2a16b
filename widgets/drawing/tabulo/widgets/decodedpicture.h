#pragma once
// What the image loader needs to know of a decoded picture, in the layer's
// own terms.

#include "tabulo/widgets/imagedecoder.h"

// The natural size: 0 x 0 before completion and for a picture that could
// not be read.
inline TSize DecodedSize(const ImageDecoder& decoder) {
    const QSize s = decoder.Size();
    return TSize{s.width(), s.height()};
}

// True when every pixel of the decoded picture is opaque (a picture without
// an alpha channel), so painting it covers whatever lies below.
inline bool DecodedOpaque(const ImageDecoder& decoder) {
    return decoder.Completed() && !decoder.Image().isNull() && !decoder.Image().hasAlphaChannel();
}

// True when the decoded picture is already in a bitmap's own pixel format,
// so a bitmap can share its pixels instead of having it drawn in.
inline bool DecodedInBitmapFormat(const ImageDecoder& decoder) {
    return decoder.Completed() && decoder.Image().format() == QImage::Format_RGB32;
}
